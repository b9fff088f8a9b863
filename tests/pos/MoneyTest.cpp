#include "pos/Money.h"

#include <gtest/gtest.h>

namespace {

struct MoneyCase
{
    double value;
    const char* text;
};

class MoneyTextTest : public ::testing::TestWithParam<MoneyCase>
{
};

TEST_P(MoneyTextTest, RoundsHalvesAwayFromZeroAsTheAmountIsWritten)
{
    EXPECT_EQ(MoneyText(GetParam().value).toStdString(), GetParam().text) << GetParam().value;
}

// Amounts whose binary value lies just below the written half still round up (15 significant digits first).
INSTANTIATE_TEST_SUITE_P(Cases, MoneyTextTest,
                         ::testing::Values(MoneyCase{0.125, "0.13"}, MoneyCase{2.675, "2.68"},
                                           MoneyCase{1.005, "1.01"}, MoneyCase{-7.505, "-7.51"},
                                           MoneyCase{0.333 * 3, "1.00"}, MoneyCase{0.005, "0.01"},
                                           MoneyCase{0.0049, "0.00"}, MoneyCase{-0.004, "0.00"},
                                           MoneyCase{0, "0.00"}, MoneyCase{12.5, "12.50"}, MoneyCase{-3, "-3.00"},
                                           MoneyCase{0.1 + 0.2, "0.30"}, MoneyCase{1234567.895, "1234567.90"},
                                           MoneyCase{123456789012.345, "123456789012.35"},
                                           MoneyCase{9999999999999.99, "9999999999999.99"},
                                           MoneyCase{-9999999999999.99, "-9999999999999.99"},
                                           // Beyond 15 significant digits the amount is rounded there first.
                                           MoneyCase{99999999999999.99, "100000000000000.00"},
                                           MoneyCase{1e15, "1000000000000000.00"}));

TEST(MoneyWithSymbol, PutsTheSymbolAndOneBlankBeforeTheAmount)
{
    EXPECT_EQ(MoneyWithSymbol(QStringLiteral("$"), 12.5), QStringLiteral("$ 12.50"));
    EXPECT_EQ(MoneyWithSymbol(QStringLiteral("EUR"), 12.5), QStringLiteral("EUR 12.50"));
    EXPECT_EQ(MoneyWithSymbol(QString(), 0), QStringLiteral(" 0.00"));
}

} // namespace

#include "pos/Money.h"
#include "pos/MoneyAmount.h"

#include <cmath>
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
    const double value = GetParam().value;
    EXPECT_EQ(MoneyText(value).toStdString(), GetParam().text) << value;
    // The amount a sale holds shows the same text and reads as it; in whole cents while they fit in 64 bits.
    const MoneyAmount amount = MoneyAmount::rounded(value);
    EXPECT_EQ(amount.text().toStdString(), GetParam().text) << value;
    EXPECT_EQ(amount.value(), ReadNumber(amount.text())) << value;
    EXPECT_EQ(amount.inCents(), std::fabs(value) < 9e16) << value;
}

TEST(MoneyText, FromAQuadrillionOnIsTheDoublesOwnDigitsRoundedAtTheCent)
{
    // Such a double holds eighths at most; the ones on a half (0.125, 0.375, ...) round away from zero.
    for (const double whole : {1e15, 5e15 + 7, 1e16, 8.99e16}) {
        for (int eighths = 0; eighths < 8; ++eighths) {
            for (const double sign : {1.0, -1.0}) {
                const double value = sign * (whole + eighths / 8.0);
                EXPECT_EQ(MoneyText(value), QString::number(value, 'f', 2)) << value;
            }
        }
    }
    EXPECT_EQ(MoneyText(1e15 + 0.125), QStringLiteral("1000000000000000.13"));
    EXPECT_EQ(MoneyText(-1e15 - 0.375), QStringLiteral("-1000000000000000.38"));
}

TEST(MoneyAmount, ReadsAsItsTextBeyondTheCentsADoubleHoldsExactly)
{
    for (const qint64 cents : {(qint64(1) << 53) + 1, -(qint64(1) << 53) - 3, qint64(999999999999999999)}) {
        const MoneyAmount amount = MoneyAmount::fromCents(cents);
        EXPECT_EQ(amount.value(), ReadNumber(amount.text())) << cents;
        EXPECT_EQ(amount.text(), QString::number(cents / 100) + QLatin1Char('.')
                                     + QString::number(std::abs(cents % 100)).rightJustified(2, QLatin1Char('0')));
    }
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
                                           MoneyCase{1e15, "1000000000000000.00"},
                                           MoneyCase{-1e15 - 0.125, "-1000000000000000.13"},
                                           MoneyCase{1e18, "1000000000000000000.00"}));

TEST(MoneyWithSymbol, PutsTheSymbolAndOneBlankBeforeTheAmount)
{
    EXPECT_EQ(MoneyWithSymbol(QStringLiteral("$"), 12.5), QStringLiteral("$ 12.50"));
    EXPECT_EQ(MoneyWithSymbol(QStringLiteral("EUR"), 12.5), QStringLiteral("EUR 12.50"));
    EXPECT_EQ(MoneyWithSymbol(QString(), 0), QStringLiteral(" 0.00"));
    EXPECT_EQ(CentsWithSymbol(QStringLiteral("$"), 1250), QStringLiteral("$ 12.50"));
    EXPECT_EQ(CentsWithSymbol(QStringLiteral("EUR"), -5), QStringLiteral("EUR -0.05"));
    EXPECT_EQ(CentsWithSymbol(QString(), 0), QStringLiteral(" 0.00"));
}

} // namespace

TEST(ReadAmountCents, ReadsDigitsWithAtMostTwoDecimalsExactly)
{
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"12", 1200},  {"12.5", 1250}, {" 12.50 ", 1250}, {".5", 50},   {"0.07", 7},     {"12.", 1200},
        {"999999999999999.99", 99999999999999999},
        {"", std::nullopt}, {".", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt}, {"1e2", std::nullopt},
        {"1.234", std::nullopt}, {"1,5", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt},
        {"1000000000000000", std::nullopt}};
    for (const auto& [text, cents] : cases)
        EXPECT_EQ(ReadAmountCents(QString::fromLatin1(text)), cents) << text;
}

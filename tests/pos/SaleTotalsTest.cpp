#include "pos/MoneySum.h"
#include "pos/SaleTotals.h"

#include <gtest/gtest.h>

namespace {

struct ChangeCase
{
    qint64 totalCents;
    QStringList lines;
};

class ChangeTableTest : public ::testing::TestWithParam<ChangeCase>
{
};

TEST_P(ChangeTableTest, ListsTheNotesThatCoverTheTotal)
{
    EXPECT_EQ(ChangeTableLines(GetParam().totalCents).join(QLatin1Char('|')).toStdString(),
              GetParam().lines.join(QLatin1Char('|')).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Totals, ChangeTableTest,
    ::testing::Values(
        ChangeCase{3750, {"", "For 100", "62.50", "", "For 50", "12.50"}},
        ChangeCase{15000, {"", "For 200", "50.00"}},
        ChangeCase{10000, {}},
        ChangeCase{20000, {}},
        ChangeCase{25000, {}},
        ChangeCase{9999, {"", "For 100", "0.01"}},
        ChangeCase{50,
                   {"", "For 100", "99.50", "", "For 50", "49.50", "", "For 20", "19.50", "", "For 10", "9.50", "",
                    "For 5", "4.50", "", "For 1", "0.50"}},
        // A negative total (a discount above 100 %) is covered by every note but the 200 one.
        ChangeCase{-100,
                   {"", "For 100", "101.00", "", "For 50", "51.00", "", "For 20", "21.00", "", "For 10", "11.00",
                    "", "For 5", "6.00", "", "For 1", "2.00"}}));

TEST(ChangeForTendered, IsTheAmountMinusTheTotalOrZeroForAnUnreadableAmount)
{
    EXPECT_EQ(ChangeForTendered(QStringLiteral("50"), 37.5), QStringLiteral("12.50"));
    EXPECT_EQ(ChangeForTendered(QStringLiteral("30"), 37.5), QStringLiteral("-7.50"));
    EXPECT_EQ(ChangeForTendered(QStringLiteral("40.1"), 37.5), QStringLiteral("2.60"));
    EXPECT_EQ(ChangeForTendered(QString(), 37.5), QStringLiteral("0.00"));
    EXPECT_EQ(ChangeForTendered(QStringLiteral("5,0"), 37.5), QStringLiteral("0.00"));
    EXPECT_EQ(ChangeForTendered(QStringLiteral("abc"), 37.5), QStringLiteral("0.00"));
}

TEST(ReadDiscountRate, AcceptsDecimalNumbersWithAPointOnly)
{
    const std::pair<const char*, double> good[] = {{"10", 10},   {"1e1", 10},  {"  7.5", 7.5}, {"-5", -5},
                                                   {"+2.", 2},   {".5", 0.5},  {"150", 150},   {"2E-1", 0.2},
                                                   {"0", 0},     {"1.5e+1", 15}};
    for (const auto& [text, expected] : good) {
        double rate = -1;
        EXPECT_TRUE(ReadDiscountRate(QString::fromLatin1(text), rate)) << text;
        EXPECT_DOUBLE_EQ(rate, expected) << text;
    }
    for (const char* text : {"", " ", "abc", "10%", "10 ", "1,5", ".", "e1", "1e", "1e999", "- 5", "0x10"}) {
        double rate = -1;
        EXPECT_FALSE(ReadDiscountRate(QString::fromLatin1(text), rate)) << '"' << text << '"';
        EXPECT_EQ(rate, -1) << text;
    }
}

} // namespace

namespace {

TEST(MoneySumTest, WholeCentsWhileTheyFitThenTheDoubleSum)
{
    const auto cents = [](qint64 c) { return MoneyAmount::fromCents(c); };
    const struct
    {
        std::vector<MoneyAmount> amounts;
        qint64 quantity;
        bool exact;
        double value;
    } cases[] = {
        {{cents(1250), cents(10), cents(-5)}, 1, true, 12.55},
        {{cents(10), cents(20)}, 3, true, 0.90},
        // A price of 1e18 has more digits than whole cents can hold.
        {{MoneyAmount::rounded(1e18), cents(100)}, 1, false, 1e18 + 1},
        // Each amount fits, the product with the quantity does not.
        {{cents(900000000000000000)}, 99999, false, 9e15 * 99999},
        // Ten amounts that fit, their sum does not.
        {std::vector<MoneyAmount>(10, cents(999999999999999999)), 1, false, 1e17},
    };
    for (const auto& c : cases) {
        MoneySum sum;
        for (const MoneyAmount& amount : c.amounts)
            sum.add(amount, c.quantity);
        EXPECT_EQ(sum.exact(), c.exact) << c.value;
        EXPECT_DOUBLE_EQ(sum.value(), c.value);
    }
}

} // namespace

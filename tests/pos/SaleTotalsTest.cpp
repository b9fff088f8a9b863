#include "app/AppError.h"
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

TEST(LineCells, MultiplyTheGivenPriceAndDiscountIt)
{
    // A stored price of 0.333 shows as 0.33, while the line total comes from the full price.
    const LineCells first = ComputeLineCells(0.333, 3, 0);
    EXPECT_EQ(first.price, QStringLiteral("0.33"));
    EXPECT_EQ(first.quantity, QStringLiteral("3"));
    EXPECT_EQ(first.total, QStringLiteral("1.00"));
    EXPECT_TRUE(first.discountedPrice.isEmpty());
    EXPECT_TRUE(first.discountedTotal.isEmpty());

    const LineCells discounted = ComputeLineCells(20, 3, 10);
    EXPECT_EQ(discounted.total, QStringLiteral("60.00"));
    EXPECT_EQ(discounted.discountedPrice, QStringLiteral("18.00"));
    EXPECT_EQ(discounted.discountedTotal, QStringLiteral("54.00"));

    // 2.99 less 15 % is 2.5415: the line total comes from the unrounded discounted price.
    const LineCells odd = ComputeLineCells(2.99, 7, 15);
    EXPECT_EQ(odd.discountedPrice, QStringLiteral("2.54"));
    EXPECT_EQ(odd.discountedTotal, QStringLiteral("17.79"));
}

TEST(MoneyTextToCents, ReadsTheDisplayedTextExactly)
{
    const auto centsOf = [](const char* text) {
        qint64 cents = 0;
        EXPECT_TRUE(TryMoneyTextToCents(QString::fromLatin1(text), cents)) << text;
        return cents;
    };
    EXPECT_EQ(centsOf("12.50"), 1250);
    EXPECT_EQ(centsOf("-3.00"), -300);
    EXPECT_EQ(centsOf("0.07"), 7);
    EXPECT_EQ(centsOf("7"), 700);
    EXPECT_EQ(centsOf("99999999999999.99"), 9999999999999999);
    EXPECT_EQ(centsOf("1e2"), 10000);
    EXPECT_EQ(centsOf("0.5"), 50);
    EXPECT_EQ(centsOf("-0.07"), -7);
    EXPECT_EQ(centsOf(" 12.50 "), 1250);
    EXPECT_EQ(centsOf("12."), 1200);
    EXPECT_EQ(centsOf(".5"), 50);
    EXPECT_EQ(centsOf("1.235"), 124); // more decimals: rounded to the cent
    EXPECT_EQ(centsOf("-1.599999999915209999999"), -160);
    // Numbers beyond whole cents in 64 bits, and texts that are no numbers.
    for (const char* notANumber : {"-9999999999999999999", "-99999999912.50999999999999999999999129.99", "1.2.3", "-", ".", "1,5", "12.5x", "--1", "\xd9\xa3"}) {
        qint64 unchanged = 0;
        EXPECT_FALSE(TryMoneyTextToCents(QString::fromUtf8(notANumber), unchanged)) << notANumber;
    }
    try {
        MoneySum().add(QStringLiteral("abc"));
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
    qint64 cents = 0;
    EXPECT_FALSE(TryMoneyTextToCents(QString(), cents));
}

} // namespace

namespace {

TEST(MoneySumTest, WholeCentsWhileTheyFitThenTheDoubleSum)
{
    const struct
    {
        QStringList amounts;
        qint64 quantity;
        bool exact;
        double value;
    } cases[] = {
        {{"12.50", "0.10", "-0.05"}, 1, true, 12.55},
        {{"0.10", "0.20"}, 3, true, 0.90},
        // A cell the program wrote for a price of 1e18 has more digits than whole cents can hold.
        {{"1000000000000000000.00", "1.00"}, 1, false, 1e18 + 1},
        // Each amount fits, the product with the quantity does not.
        {{"9000000000000000.00"}, 99999, false, 9e15 * 99999},
        // Ten amounts that fit, their sum does not.
        {QStringList(10, QStringLiteral("9999999999999999.99")), 1, false, 1e17},
    };
    for (const auto& c : cases) {
        MoneySum sum;
        for (const QString& amount : c.amounts)
            EXPECT_TRUE(sum.tryAdd(amount, c.quantity)) << amount.toStdString();
        EXPECT_EQ(sum.exact(), c.exact) << c.amounts.join(' ').toStdString();
        EXPECT_DOUBLE_EQ(sum.value(), c.value) << c.amounts.join(' ').toStdString();
    }
}

TEST(MoneySumTest, TextThatIsNotANumberAddsNothing)
{
    MoneySum sum;
    sum.add(QStringLiteral("2.50"));
    EXPECT_FALSE(sum.tryAdd(QStringLiteral("abc")));
    try {
        sum.add(QStringLiteral("1,5"));
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'1,5' is not a valid floating point value"));
    }
    EXPECT_TRUE(sum.exact());
    EXPECT_EQ(sum.cents(), 250);
}

} // namespace

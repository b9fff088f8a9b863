#include "core/AppError.h"
#include "pos/Money.h"
#include "pos/Sale.h"
#include "pos/SaleListModel.h"

#include <QAbstractItemModelTester>
#include <functional>
#include <gtest/gtest.h>

namespace {

QStringList rowsOf(const SaleListModel& list)
{
    QStringList rows;
    for (int i = 0; i < list.rowCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < SaleListModel::ColumnCount; ++c)
            cells << list.index(i, c).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// One line through its life: added (under the discount when rateFirst), its quantity raised by more, then the
// discount set. The texts are those the sale list has always shown for these prices.
struct PricingCase
{
    double price;
    qint64 quantity;
    double rate;
    bool rateFirst;
    qint64 more;
    const char* added;
    const char* raised;
    const char* discounted;
    const char* total;
    const char* chargedPrice;
};

class SalePricingTest : public ::testing::TestWithParam<PricingCase>
{
};

TEST_P(SalePricingTest, ShowsTheTextsTheListHasAlwaysShown)
{
    const PricingCase& c = GetParam();
    Sale sale;
    SaleListModel list(sale);
    if (c.rateFirst)
        sale.setDiscountRate(c.rate);
    sale.addLine(QStringLiteral("B"), QStringLiteral("N"), c.price, c.quantity);
    EXPECT_EQ(rowsOf(list), QStringList{QString::fromLatin1(c.added)});
    sale.setQuantity(0, c.quantity + c.more);
    EXPECT_EQ(rowsOf(list), QStringList{QString::fromLatin1(c.raised)});
    sale.setDiscountRate(c.rate);
    EXPECT_EQ(rowsOf(list), QStringList{QString::fromLatin1(c.discounted)});
    EXPECT_EQ(MoneyText(sale.total().value()), QString::fromLatin1(c.total));
    ASSERT_EQ(sale.checkoutLines().size(), 1u);
    EXPECT_EQ(sale.checkoutLines()[0].unitPrice.text(), QString::fromLatin1(c.chargedPrice));
    EXPECT_EQ(sale.checkoutLines()[0].quantity, c.quantity + c.more);
}

// A new line is priced from the full price (0.333 x 3 = 1.00; 1.015 x 3 = 3.05, not 1.02 x 3; 0.0049 x 3 = 0.01),
// every later change from the price shown (0.33 x 4 = 1.32); a discount set again re-prices from the shown price
// too (0.335 less 12.5 %: 0.29, then 0.30 from 0.34). Halves round away from zero as the amount is written (2.675,
// -0.005); from 1e15 on an amount shows the double's own digits.
INSTANTIATE_TEST_SUITE_P(
    Prices, SalePricingTest,
    ::testing::Values(
        PricingCase{0.005, 1, 0, false, 0, "B|N|0.01|1|0.01||", "B|N|0.01|1|0.01||", "B|N|0.01|1|0.01||", "0.01",
                    "0.01"},
        PricingCase{0.005, 3, 12.5, false, 1, "B|N|0.01|3|0.02||", "B|N|0.01|4|0.04||", "B|N|0.01|4|0.04|0.01|0.04",
                    "0.04", "0.01"},
        PricingCase{1.015, 3, 12.5, true, 2, "B|N|1.02|3|3.05|0.89|2.66", "B|N|1.02|5|5.10|0.89|4.46",
                    "B|N|1.02|5|5.10|0.89|4.46", "4.46", "0.89"},
        PricingCase{1.015, 7, 33.333, false, 5, "B|N|1.02|7|7.11||", "B|N|1.02|12|12.24||",
                    "B|N|1.02|12|12.24|0.68|8.16", "8.16", "0.68"},
        PricingCase{2.675, 1, 33.333, true, 1, "B|N|2.68|1|2.68|1.78|1.78", "B|N|2.68|2|5.36|1.79|3.57",
                    "B|N|2.68|2|5.36|1.79|3.57", "3.57", "1.79"},
        PricingCase{2.675, 99999, 12.5, false, 1, "B|N|2.68|99999|267497.33||", "B|N|2.68|100000|268000.00||",
                    "B|N|2.68|100000|268000.00|2.35|234500.00", "234500.00", "2.35"},
        PricingCase{19.999, 3, 33.333, true, 1, "B|N|20.00|3|60.00|13.33|40.00", "B|N|20.00|4|80.00|13.33|53.33",
                    "B|N|20.00|4|80.00|13.33|53.33", "53.33", "13.33"},
        PricingCase{19.999, 99999, 15, false, 99999, "B|N|20.00|99999|1999880.00||",
                    "B|N|20.00|199998|3999960.00||", "B|N|20.00|199998|3999960.00|17.00|3399966.00", "3399966.00",
                    "17.00"},
        PricingCase{0.333, 3, 10, false, 1, "B|N|0.33|3|1.00||", "B|N|0.33|4|1.32||", "B|N|0.33|4|1.32|0.30|1.19",
                    "1.19", "0.30"},
        PricingCase{0.335, 3, 12.5, true, 0, "B|N|0.34|3|1.01|0.29|0.88", "B|N|0.34|3|1.02|0.30|0.89",
                    "B|N|0.34|3|1.02|0.30|0.89", "0.89", "0.30"},
        PricingCase{20, 3, 10, true, 0, "B|N|20.00|3|60.00|18.00|54.00", "B|N|20.00|3|60.00|18.00|54.00",
                    "B|N|20.00|3|60.00|18.00|54.00", "54.00", "18.00"},
        PricingCase{2.99, 7, 15, true, 0, "B|N|2.99|7|20.93|2.54|17.79", "B|N|2.99|7|20.93|2.54|17.79",
                    "B|N|2.99|7|20.93|2.54|17.79", "17.79", "2.54"},
        PricingCase{0.125, 1, 100, false, 1, "B|N|0.13|1|0.13||", "B|N|0.13|2|0.26||", "B|N|0.13|2|0.26|0.00|0.00",
                    "0.00", "0.00"},
        PricingCase{1.005, 99999, 0.5, true, 99999, "B|N|1.01|99999|100499.00|1.00|99996.50",
                    "B|N|1.01|199998|201997.98|1.00|200987.99", "B|N|1.01|199998|201997.98|1.00|200987.99",
                    "200987.99", "1.00"},
        PricingCase{0.0049, 3, 50, true, 1, "B|N|0.00|3|0.01|0.00|0.01", "B|N|0.00|4|0.00|0.00|0.00",
                    "B|N|0.00|4|0.00|0.00|0.00", "0.00", "0.00"},
        PricingCase{7.5, 2, -12.5, false, 1, "B|N|7.50|2|15.00||", "B|N|7.50|3|22.50||", "B|N|7.50|3|22.50|8.44|25.31",
                    "25.31", "8.44"},
        PricingCase{-0.005, 1, 12.5, false, 2, "B|N|-0.01|1|-0.01||", "B|N|-0.01|3|-0.03||",
                    "B|N|-0.01|3|-0.03|-0.01|-0.03", "-0.03", "-0.01"},
        PricingCase{-1.015, 3, 33.333, true, 1, "B|N|-1.02|3|-3.05|-0.68|-2.03", "B|N|-1.02|4|-4.08|-0.68|-2.72",
                    "B|N|-1.02|4|-4.08|-0.68|-2.72", "-2.72", "-0.68"},
        PricingCase{-2.675, 7, -5, false, 3, "B|N|-2.68|7|-18.73||", "B|N|-2.68|10|-26.80||",
                    "B|N|-2.68|10|-26.80|-2.81|-28.14", "-28.14", "-2.81"},
        PricingCase{-19.999, 99999, 150, true, 1, "B|N|-20.00|99999|-1999880.00|10.00|999940.00",
                    "B|N|-20.00|100000|-2000000.00|10.00|1000000.00",
                    "B|N|-20.00|100000|-2000000.00|10.00|1000000.00", "1000000.00", "10.00"},
        PricingCase{1234567.895, 3, 12.5, false, 1, "B|N|1234567.90|3|3703703.69||", "B|N|1234567.90|4|4938271.60||",
                    "B|N|1234567.90|4|4938271.60|1080246.91|4320987.65", "4320987.65", "1080246.91"},
        PricingCase{9999999999.995, 99999, 33.333, true, 1,
                    "B|N|10000000000.00|99999|999989999999500.00|6666700000.00|666663333299667.00",
                    "B|N|10000000000.00|100000|1000000000000000.00|6666700000.00|666670000000000.00",
                    "B|N|10000000000.00|100000|1000000000000000.00|6666700000.00|666670000000000.00",
                    "666670000000000.00", "6666700000.00"},
        PricingCase{12345678901.235, 99999, 12.5, false, 1, "B|N|12345678901.24|99999|1234555544444598.75||",
                    "B|N|12345678901.24|100000|1234567890124000.00||",
                    "B|N|12345678901.24|100000|1234567890124000.00|10802469038.59|1080246903858499.88",
                    "1080246903858499.88", "10802469038.59"}));

TEST(SaleTest, LinesQuantitiesAndTheDiscountAsTheListShowsThem)
{
    Sale sale;
    SaleListModel list(sale);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    sale.addLine(QStringLiteral("A1"), QStringLiteral("APPLE"), 0.335, 3);
    sale.addLine(QString(), QStringLiteral("BAG"), 0.1, 1);
    EXPECT_EQ(rowsOf(list), (QStringList{"A1|APPLE|0.34|3|1.01||", "|BAG|0.10|1|0.10||"}));
    EXPECT_EQ(sale.total().cents(), 111);
    EXPECT_EQ(sale.line(0).total.cents(), 101);

    sale.setQuantity(0, 10);
    EXPECT_EQ(rowsOf(list).first(), QStringLiteral("A1|APPLE|0.34|10|3.40||"));
    EXPECT_EQ(sale.rowOfBarcode(QStringLiteral("A1")), 0);
    EXPECT_EQ(sale.rowOfBarcode(QStringLiteral("a1")), -1);
    EXPECT_EQ(sale.rowOfBarcode(QString()), 1); // a line added by name; a code read is never empty

    sale.setDiscountRate(10);
    EXPECT_EQ(rowsOf(list), (QStringList{"A1|APPLE|0.34|10|3.40|0.31|3.06", "|BAG|0.10|1|0.10|0.09|0.09"}));
    EXPECT_EQ(sale.total().cents(), 315);
    const std::vector<SaleLine> lines = sale.checkoutLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].barcode, QStringLiteral("A1"));
    EXPECT_EQ(lines[0].unitPrice.cents(), 31);
    EXPECT_EQ(lines[0].quantity, 10);
    EXPECT_EQ(lines[1].unitPrice.cents(), 9);

    sale.setDiscountRate(0);
    EXPECT_EQ(rowsOf(list).last(), QStringLiteral("|BAG|0.10|1|0.10||"));
    EXPECT_EQ(sale.checkoutLines()[0].unitPrice.cents(), 34);
    sale.removeLine(0);
    sale.removeLine(5); // no such row
    sale.setQuantity(5, 2);
    EXPECT_EQ(rowsOf(list), QStringList{"|BAG|0.10|1|0.10||"});

    sale.setDiscountRate(5);
    sale.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(sale.discountRate(), 0);
    EXPECT_EQ(sale.total().cents(), 0);
}

TEST(SaleTest, AnAmountBeyondTheRangeOfNumbersChangesNothing)
{
    Sale sale;
    SaleListModel list(sale);
    sale.addLine(QStringLiteral("G1"), QStringLiteral("GOLD"), 1e308, 1);
    const auto refused = [](const std::function<void()>& change, const char* message) {
        try {
            change();
            ADD_FAILURE() << "taken: " << message;
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(message));
        }
    };
    refused([&] { sale.addLine(QStringLiteral("G2"), QStringLiteral("MORE GOLD"), 1e308, 2); },
            "'inf' is not a valid floating point value");
    refused([&] { sale.setQuantity(0, 3); }, "'inf' is not a valid floating point value");
    refused([&] { sale.setDiscountRate(-100); }, "'inf' is not a valid floating point value");
    EXPECT_EQ(rowsOf(list).size(), 1);
    EXPECT_EQ(sale.line(0).quantity, 1);
    EXPECT_EQ(sale.discountRate(), 0);
    EXPECT_FALSE(sale.line(0).discountedPrice);
}

} // namespace

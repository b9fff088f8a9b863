#include "pos/MoneySum.h"
#include "pos/SaleListModel.h"

#include <QAbstractItemModelTester>
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

TEST(SaleListModelTest, LinesQuantitiesAndTheDiscountKeepTheShownCellsAndTheirSum)
{
    SaleListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.appendLine(QStringLiteral("A1"), QStringLiteral("APPLE"), 0.335, 3);
    list.appendLine(QString(), QStringLiteral("BAG"), 0.1, 1);
    EXPECT_EQ(rowsOf(list), (QStringList{"A1|APPLE|0.34|3|1.01||", "|BAG|0.10|1|0.10||"}));
    EXPECT_EQ(list.grandTotal().cents(), 111);

    // A new quantity is priced from the price shown, not the stored one.
    list.setQuantity(0, 10);
    EXPECT_EQ(rowsOf(list).first(), QStringLiteral("A1|APPLE|0.34|10|3.40||"));
    EXPECT_EQ(list.rowOfBarcode(QStringLiteral("A1")), 0);
    EXPECT_EQ(list.rowOfBarcode(QStringLiteral("B1")), -1);

    list.setDiscountRate(10);
    EXPECT_EQ(rowsOf(list), (QStringList{"A1|APPLE|0.34|10|3.40|0.31|3.06", "|BAG|0.10|1|0.10|0.09|0.09"}));
    EXPECT_EQ(list.grandTotal().cents(), 315);
    const std::vector<SaleLine> lines = list.saleLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].unitPriceText, QStringLiteral("0.31"));
    EXPECT_EQ(lines[0].quantity, 10);

    list.setDiscountRate(0);
    EXPECT_EQ(rowsOf(list).last(), QStringLiteral("|BAG|0.10|1|0.10||"));
    list.removeLine(0);
    list.removeLine(5); // no such row
    EXPECT_EQ(rowsOf(list), QStringList{"|BAG|0.10|1|0.10||"});

    list.setDiscountRate(5);
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.discountRate(), 0);
}

} // namespace

#include "cashup/DaySummaryText.h"

#include <gtest/gtest.h>

// The day summary as it is shown and printed: each till's Z reports apart, then the tills added up, then the tills
// still open.

namespace {

ZReport Z(const QString& till, qint64 number, qint64 salesCount, qint64 salesCents, qint64 expected, qint64 counted)
{
    ZReport z;
    z.zNumber = number;
    z.figures.till = till;
    z.figures.salesCount = salesCount;
    z.figures.salesCents = salesCents;
    z.figures.expectedCashCents = expected;
    z.countedCents = counted;
    z.differenceCents = counted - expected;
    return z;
}

TEST(DaySummaryTextTest, KeepsEachTillApartThenAddsThemUpAndNamesTheTillsStillOpen)
{
    DaySummary summary;
    summary.day = QStringLiteral("2025-01-31");
    summary.tills = {Z("Front", 4, 3, 4500, 6000, 5900), Z("Back", 1, 1, 1000, 1000, 1000)};
    summary.total.salesCount = 4;
    summary.total.salesCents = 5500;
    summary.total.tenders = {{QStringLiteral("Cash"), 3, 2500, 0, 0}, {QStringLiteral("Card"), 1, 3000, 1, 700}};
    summary.total.refundsCount = 1;
    summary.total.refundsCents = 700;
    summary.total.floatCents = 2000;
    summary.total.cashInCents = 500;
    summary.total.cashOutCents = 300;
    summary.total.drawerOpenings = 2;
    summary.total.expectedCashCents = 7000;
    summary.countedCents = 6900;
    summary.differenceCents = -100;
    summary.stillOpen = QStringList{QStringLiteral("Side"), QStringLiteral("Upstairs")};

    EXPECT_EQ(DaySummaryText(summary, QStringLiteral("€")).join('\n').toStdString(),
              "Day Summary 2025-01-31\n"
              "\n"
              "Front, Z Report 4\n"
              "  Sales: 3 / € 45.00\n"
              "  Expected cash: € 60.00\n"
              "  Counted cash: € 59.00\n"
              "  Difference: € -1.00\n"
              "Back, Z Report 1\n"
              "  Sales: 1 / € 10.00\n"
              "  Expected cash: € 10.00\n"
              "  Counted cash: € 10.00\n"
              "  Difference: € 0.00\n"
              "\n"
              "All Tills\n"
              "Sales: 4 / € 55.00\n"
              "  Cash: 3 / € 25.00\n"
              "  Card: 1 / € 30.00\n"
              "Discounts: € 0.00\n"
              "Refunds: 1 / € 7.00\n"
              "  Card: 1 / € 7.00\n"
              "Credit settled: € 0.00\n"
              "Drawer openings without a sale: 2\n"
              "Float: € 20.00\n"
              "Cash in: € 5.00\n"
              "Cash out: € 3.00\n"
              "Expected cash: € 70.00\n"
              "Counted cash: € 69.00\n"
              "Difference: € -1.00\n"
              "\n"
              "Tills still open: Side, Upstairs");

    // A day with no Z yet says so by its zero figures, and names no open till when none is.
    const QStringList empty = DaySummaryText(DaySummary{QStringLiteral("2025-02-01"), {}, {}, 0, 0, {}}, "$");
    EXPECT_EQ(empty.mid(0, 4), (QStringList{"Day Summary 2025-02-01", "", "All Tills", "Sales: 0 / $ 0.00"}));
    EXPECT_EQ(empty.last(), "Difference: $ 0.00");
}

} // namespace

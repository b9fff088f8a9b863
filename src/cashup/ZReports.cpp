#include "cashup/ZReports.h"

#include "store/TillSessionsTable.h"
#include "store/ZReportsTable.h"

#include <QDate>
#include <algorithm>

namespace {

// The first moment after the day, as closed_at text compares: the next day's date.
QString DayAfter(const QString& day)
{
    const QDate date = QDate::fromString(day, Qt::ISODate);
    return date.isValid() ? date.addDays(1).toString(Qt::ISODate) : day + QChar(0x7f);
}

void Add(SessionFigures& total, const SessionFigures& figures)
{
    total.floatCents += figures.floatCents;
    total.salesCount += figures.salesCount;
    total.salesCents += figures.salesCents;
    total.discountCents += figures.discountCents;
    total.refundsCount += figures.refundsCount;
    total.refundsCents += figures.refundsCents;
    total.cashInCents += figures.cashInCents;
    total.cashOutCents += figures.cashOutCents;
    total.creditSettledCents += figures.creditSettledCents;
    total.cashSettlementsCents += figures.cashSettlementsCents;
    total.drawerOpenings += figures.drawerOpenings;
    total.cashTakenCents += figures.cashTakenCents;
    total.changeGivenCents += figures.changeGivenCents;
    total.cashRefundedCents += figures.cashRefundedCents;
    total.expectedCashCents += figures.expectedCashCents;
    for (const TenderFigures& tender : figures.tenders) {
        auto found = std::find_if(total.tenders.begin(), total.tenders.end(),
                                  [&tender](const TenderFigures& t) { return t.tenderType == tender.tenderType; });
        if (found == total.tenders.end()) {
            total.tenders.push_back({tender.tenderType});
            found = total.tenders.end() - 1;
        }
        found->salesCount += tender.salesCount;
        found->salesCents += tender.salesCents;
        found->refundsCount += tender.refundsCount;
        found->refundsCents += tender.refundsCents;
    }
}

} // namespace

std::optional<std::vector<ZReport>> ZReportsOf(Database& db, const QString& fromDay, const QString& untilDay,
                                               const QString& till)
{
    return ZReportsTable(db).closedBetween(fromDay, untilDay.isEmpty() ? QString() : DayAfter(untilDay), till);
}

std::optional<DaySummary> ReadDaySummary(Database& db, const QString& day)
{
    const QString dayAfter = DayAfter(day);
    std::optional<std::vector<ZReport>> reports = ZReportsTable(db).closedBetween(day, dayAfter, QString());
    if (!reports)
        return std::nullopt;
    std::optional<QStringList> open = TillSessionsTable(db).tillsOpenSince(dayAfter);
    if (!open)
        return std::nullopt;
    DaySummary summary;
    summary.day = day;
    summary.tills = std::move(*reports);
    summary.stillOpen = std::move(*open);
    for (const ZReport& report : summary.tills) {
        Add(summary.total, report.figures);
        summary.countedCents += report.countedCents;
        summary.differenceCents += report.differenceCents;
    }
    return summary;
}

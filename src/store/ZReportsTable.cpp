#include "store/ZReportsTable.h"

#include "store/TableRows.h"

#include <QHash>

namespace {

const QString kReportColumns = QStringLiteral(
    "session_id, till, z_number, closed_at, sequence, opened_at, float_cents, sales_count, sales_cents, "
    "discount_cents, refunds_count, refunds_cents, cash_in_cents, cash_out_cents, credit_settled_cents, "
    "cash_settlements_cents, drawer_openings, cash_taken_cents, change_given_cents, cash_refunded_cents, "
    "expected_cash_cents, counted_cash_cents, difference_cents");

std::vector<QVariant> ReportValues(const ZReport& report)
{
    const SessionFigures& f = report.figures;
    return {f.sessionId, f.till, report.zNumber, report.closedAt, f.sequence, f.openedAt, f.floatCents,
            f.salesCount, f.salesCents, f.discountCents, f.refundsCount, f.refundsCents, f.cashInCents,
            f.cashOutCents, f.creditSettledCents, f.cashSettlementsCents, f.drawerOpenings, f.cashTakenCents,
            f.changeGivenCents, f.cashRefundedCents, f.expectedCashCents, report.countedCents, report.differenceCents};
}

ZReport ReportOf(const QueryResult& found, size_t row)
{
    const auto integer = [&](const char* column) { return found.value(row, QLatin1String(column)).asInteger(); };
    ZReport report;
    SessionFigures& f = report.figures;
    f.sessionId = found.text(row, QStringLiteral("session_id"));
    f.till = found.text(row, QStringLiteral("till"));
    report.zNumber = integer("z_number");
    report.closedAt = found.text(row, QStringLiteral("closed_at"));
    f.sequence = integer("sequence");
    f.openedAt = found.text(row, QStringLiteral("opened_at"));
    f.floatCents = integer("float_cents");
    f.salesCount = integer("sales_count");
    f.salesCents = integer("sales_cents");
    f.discountCents = integer("discount_cents");
    f.refundsCount = integer("refunds_count");
    f.refundsCents = integer("refunds_cents");
    f.cashInCents = integer("cash_in_cents");
    f.cashOutCents = integer("cash_out_cents");
    f.creditSettledCents = integer("credit_settled_cents");
    f.cashSettlementsCents = integer("cash_settlements_cents");
    f.drawerOpenings = integer("drawer_openings");
    f.cashTakenCents = integer("cash_taken_cents");
    f.changeGivenCents = integer("change_given_cents");
    f.cashRefundedCents = integer("cash_refunded_cents");
    f.expectedCashCents = integer("expected_cash_cents");
    report.countedCents = integer("counted_cash_cents");
    report.differenceCents = integer("difference_cents");
    return report;
}

} // namespace

bool ZReportsTable::insert(const ZReport& report)
{
    if (!m_db.ExecuteDirect(QStringLiteral("INSERT INTO z_reports (%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                                           "?,?);")
                                .arg(kReportColumns),
                            ReportValues(report)))
        return false;
    int position = 0;
    for (const TenderFigures& tender : report.figures.tenders) {
        if (!m_db.ExecuteDirect(QStringLiteral("INSERT INTO z_report_tenders (session_id, position, tender_type, "
                                               "sales_count, sales_cents, refunds_count, refunds_cents) "
                                               "VALUES (?,?,?,?,?,?,?);"),
                                {report.figures.sessionId, ++position, tender.tenderType, tender.salesCount,
                                 tender.salesCents, tender.refundsCount, tender.refundsCents}))
            return false;
    }
    return true;
}

std::optional<qint64> ZReportsTable::lastNumberOf(const QString& till)
{
    const QueryResult found =
        m_db.Query(QStringLiteral("SELECT coalesce(max(z_number), 0) FROM z_reports WHERE till = ?;"), {till});
    if (found.empty())
        return std::nullopt;
    return found.rows[0][0].asInteger();
}

std::optional<std::vector<ZReport>> ZReportsTable::closedBetween(const QString& from, const QString& until,
                                                                 const QString& till)
{
    QString where = QStringLiteral(" WHERE 1 = 1");
    std::vector<QVariant> values;
    if (!from.isEmpty()) {
        where += QStringLiteral(" AND closed_at >= ?");
        values.push_back(from);
    }
    if (!until.isEmpty()) {
        where += QStringLiteral(" AND closed_at < ?");
        values.push_back(until);
    }
    if (!till.isEmpty()) {
        where += QStringLiteral(" AND till = ?");
        values.push_back(till);
    }
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT %1 FROM z_reports%2 ORDER BY till, z_number;").arg(kReportColumns, where), values);
    if (!found.ok)
        return std::nullopt;
    std::vector<ZReport> reports;
    QHash<QString, size_t> bySession;
    for (size_t i = 0; i < found.size(); ++i) {
        reports.push_back(ReportOf(found, i));
        bySession.insert(reports.back().figures.sessionId, i);
    }
    if (reports.empty())
        return reports;
    // The tender lines of the same reports, by the same bounds.
    const QueryResult lines = m_db.Query(
        QStringLiteral("SELECT t.session_id, t.tender_type, t.sales_count, t.sales_cents, t.refunds_count, "
                       "t.refunds_cents FROM z_report_tenders t WHERE t.session_id IN (SELECT session_id FROM "
                       "z_reports%1) ORDER BY t.session_id, t.position;")
            .arg(where),
        values);
    if (!lines.ok)
        return std::nullopt;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto report = bySession.constFind(lines.text(i, QStringLiteral("session_id")));
        if (report == bySession.constEnd())
            continue;
        reports[*report].figures.tenders.push_back(
            {lines.text(i, QStringLiteral("tender_type")), lines.value(i, QStringLiteral("sales_count")).asInteger(),
             lines.value(i, QStringLiteral("sales_cents")).asInteger(),
             lines.value(i, QStringLiteral("refunds_count")).asInteger(),
             lines.value(i, QStringLiteral("refunds_cents")).asInteger()});
    }
    return reports;
}

QStringList ZReportsTable::tills()
{
    return FirstColumnTexts(m_db, QStringLiteral("SELECT DISTINCT till FROM z_reports ORDER BY till;"));
}

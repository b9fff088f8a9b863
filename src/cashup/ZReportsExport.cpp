#include "cashup/ZReportsExport.h"

#include "core/LongTaskProgress.h"
#include "pos/Money.h"

namespace {

QStringList FieldsOf(const ZReport& z)
{
    const SessionFigures& f = z.figures;
    const auto number = [](qint64 n) { return QString::number(n); };
    return {f.till,
            number(z.zNumber),
            f.openedAt,
            z.closedAt,
            CentsText(f.floatCents),
            number(f.salesCount),
            CentsText(f.salesCents),
            CentsText(f.discountCents),
            number(f.refundsCount),
            CentsText(f.refundsCents),
            CentsText(f.cashInCents),
            CentsText(f.cashOutCents),
            CentsText(f.creditSettledCents),
            CentsText(f.cashSettlementsCents),
            number(f.drawerOpenings),
            CentsText(f.cashTakenCents),
            CentsText(f.changeGivenCents),
            CentsText(f.cashRefundedCents),
            CentsText(f.expectedCashCents),
            CentsText(z.countedCents),
            CentsText(z.differenceCents),
            f.sessionId};
}

} // namespace

std::vector<QString> ZReportListCells(const std::vector<ZReport>& reports)
{
    std::vector<QString> cells;
    cells.reserve(reports.size() * ZReportColumnCount);
    for (const ZReport& z : reports) {
        cells.push_back(z.figures.till);
        cells.push_back(QString::number(z.zNumber));
        cells.push_back(z.figures.openedAt);
        cells.push_back(z.closedAt);
        cells.push_back(CentsText(z.figures.salesCents));
        cells.push_back(CentsText(z.figures.expectedCashCents));
        cells.push_back(CentsText(z.countedCents));
        cells.push_back(CentsText(z.differenceCents));
    }
    return cells;
}

CsvExportResult ExportZReportsCsv(Database& db, const QString& fromDay, const QString& untilDay, const QString& till,
                                  QChar separator, const QString& path, LongTaskProgress* progress)
{
    CsvExportResult result;
    const std::optional<std::vector<ZReport>> reports = ZReportsOf(db, fromDay, untilDay, till);
    if (!reports) {
        result.status = CsvExportResult::Status::QueryFailed;
        return result;
    }
    if (progress)
        progress->setTotal(qint64(reports->size()));
    CsvExportFile file(path, separator, CsvWriter::Quoting::Quote);
    const QStringList header{
        QStringLiteral("Till"),           QStringLiteral("Z"),               QStringLiteral("Opened"),
        QStringLiteral("Closed"),         QStringLiteral("Float"),           QStringLiteral("Sales count"),
        QStringLiteral("Sales"),          QStringLiteral("Discounts"),       QStringLiteral("Refunds count"),
        QStringLiteral("Refunds"),        QStringLiteral("Cash in"),         QStringLiteral("Cash out"),
        QStringLiteral("Credit settled"), QStringLiteral("Cash settlements"), QStringLiteral("Drawer openings"),
        QStringLiteral("Cash taken"),     QStringLiteral("Change given"),    QStringLiteral("Cash refunded"),
        QStringLiteral("Expected cash"),  QStringLiteral("Counted cash"),    QStringLiteral("Difference"),
        QStringLiteral("Session ID")};
    if (!file.open(result) || !file.addLine(header, result))
        return result;
    for (const ZReport& z : *reports) {
        if (progress) {
            if (progress->cancelled()) {
                result.status = CsvExportResult::Status::Cancelled;
                return result;
            }
            progress->advance();
        }
        if (!file.addLine(FieldsOf(z), result))
            return result;
        ++result.rows;
    }
    file.commit(result);
    return result;
}

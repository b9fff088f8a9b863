#include "reports/ReceiptsExport.h"

#include "core/LongTaskProgress.h"
#include "pos/Money.h"
#include "reports/ReceiptsListModel.h"
#include "reports/RecordTexts.h"

namespace {

constexpr int kExportPage = 500;

QStringList FieldsOf(const ListedReceipt& receipt)
{
    const SaleRecordRow& record = receipt.stored.record;
    return {record.recordedAt,
            record.till,
            record.receiptNumber ? QString::number(*record.receiptNumber) : QString(),
            SaleRecordKindText(record.kind),
            record.customerName,
            CentsText(record.subtotalCents),
            CentsText(record.discountCents),
            CentsText(record.totalCents),
            RecordTendersText(receipt.tenders, [](const QString& code) { return code; }),
            record.saleId};
}

} // namespace

CsvExportResult ExportReceiptsCsv(Database& db, const SaleRecordFilter& filter, QChar separator, const QString& path,
                                  LongTaskProgress* progress)
{
    CsvExportResult result;
    if (progress) {
        const std::optional<qint64> total = SaleRecordsTable(db).count(filter);
        if (!total) {
            result.status = CsvExportResult::Status::QueryFailed;
            return result;
        }
        progress->setTotal(*total);
    }
    CsvExportFile file(path, separator, CsvWriter::Quoting::Quote);
    const QStringList header{QStringLiteral("Datetime"), QStringLiteral("Till"),     QStringLiteral("Receipt"),
                             QStringLiteral("Kind"),     QStringLiteral("Customer"), QStringLiteral("Subtotal"),
                             QStringLiteral("Discount"), QStringLiteral("Total"),    QStringLiteral("Tenders"),
                             QStringLiteral("Sale ID")};
    if (!file.open(result) || !file.addLine(header, result))
        return result;
    std::optional<SaleRecordPlace> after;
    for (;;) {
        const std::optional<std::vector<ListedReceipt>> page = ReadReceiptsPage(db, filter, after, kExportPage);
        if (!page) {
            result.status = progress && progress->cancelled() ? CsvExportResult::Status::Cancelled
                                                              : CsvExportResult::Status::QueryFailed;
            return result;
        }
        for (const ListedReceipt& receipt : *page) {
            if (progress) {
                if (progress->cancelled()) {
                    result.status = CsvExportResult::Status::Cancelled;
                    return result;
                }
                progress->advance();
            }
            if (!file.addLine(FieldsOf(receipt), result))
                return result;
            ++result.rows;
        }
        if (page->size() < size_t(kExportPage))
            break;
        after = PlaceAfter(page->back());
    }
    file.commit(result);
    return result;
}

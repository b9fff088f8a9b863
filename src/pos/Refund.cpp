#include "pos/Refund.h"

#include "pos/MoneyAmount.h"
#include "store/Database.h"
#include "store/RefundableLines.h"

#include <algorithm>

namespace {

const QString kCash = QStringLiteral("Cash");
const QString kAccount = QStringLiteral("Account");

} // namespace

QString RefundableSale::defaultTenderType() const
{
    if (onAccount)
        return kAccount;
    if (tenders.empty())
        return kCash;
    if (tenders.size() == 1)
        return tenders.front().type;
    for (const TenderRow& tender : tenders)
        if (tender.type == kCash)
            return kCash;
    return tenders.front().type;
}

std::optional<QString> FindRefundableSale(Database& db, const QString& till, qint64 receiptNumber)
{
    return SaleRecordsTable(db).newestSaleWithReceipt(till, receiptNumber);
}

std::optional<RefundableSale> ReadRefundableSale(Database& db, const QString& saleId)
{
    return ReadRefundableSale(db, saleId, false);
}

std::optional<RefundableSale> ReadRefundableSale(Database& db, const QString& saleId, bool locked)
{
    const std::optional<StoredSaleRecord> original = SaleRecordsTable(db).stored(saleId, locked);
    if (!original || original->record.kind != SaleRecordKind::Sale)
        return std::nullopt;
    const std::optional<std::vector<TenderRow>> tenders = TendersTable(db).of(saleId);
    if (!tenders)
        return std::nullopt;
    RefundableSale sale;
    sale.original = *original;
    sale.tenders = *tenders;
    // A sale on account keeps its lines as the customer's credit lines; a paid one in odemeler.
    sale.onAccount = original->record.customerId.has_value()
                     || std::any_of(sale.tenders.begin(), sale.tenders.end(),
                                    [](const TenderRow& tender) { return tender.type == kAccount; });
    const std::optional<std::vector<SoldLine>> lines =
        SoldLinesOfRecord(db, sale.onAccount ? "veresiyeler" : "odemeler", saleId);
    if (!lines)
        return std::nullopt;
    sale.lines.reserve(lines->size());
    for (const SoldLine& line : *lines) {
        RefundableLine refundable;
        refundable.lineId = line.id;
        refundable.barcode = line.barcode;
        refundable.name = line.name;
        refundable.price = line.price;
        refundable.priceCents = MoneyAmount::rounded(line.price.asDouble()).cents();
        refundable.sold = line.quantity;
        refundable.refunded = line.refunded;
        sale.lines.push_back(refundable);
    }
    return sale;
}

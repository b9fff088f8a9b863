#include "pos/RefundRecorder.h"

#include "i18n/Translator.h"
#include "pos/MoneyAmount.h"
#include "pos/MoneySum.h"
#include "pos/Receipt.h"
#include "pos/SaleRecordStore.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

const QString kAccount = QStringLiteral("Account");

// One line of the refund as it is stored: the units given back at the stored price.
struct RefundLine
{
    std::optional<qint64> refundOf;
    QString barcode;
    QString name;
    QString storedPrice; // the price as the original line (or the product) has it
    MoneyAmount price;
    qint64 quantity = 0; // positive
    bool backToStock = true;
};

RecordedRefund Refused(const QString& why)
{
    RecordedRefund refund;
    refund.refusal = why;
    return refund;
}

QString NothingChosen()
{
    return TranslateText("Choose what to refund.");
}

QString OverWhatIsLeft()
{
    return TranslateText("A refund never exceeds what was sold.");
}

// The lines of a refund of the sale, checked against what is left of each; a refusal when they ask too much.
std::optional<QString> ChosenLines(const RefundableSale& sale, const std::vector<RefundLineChoice>& choices,
                                   std::vector<RefundLine>& lines)
{
    QHash<qint64, qint64> asked;
    for (const RefundLineChoice& choice : choices) {
        if (choice.quantity < 0)
            return OverWhatIsLeft();
        if (choice.quantity == 0)
            continue;
        const auto line = std::find_if(sale.lines.begin(), sale.lines.end(),
                                       [&choice](const RefundableLine& l) { return l.lineId == choice.lineId; });
        if (line == sale.lines.end())
            return TranslateText("This line is not on the receipt.");
        qint64& total = asked[choice.lineId];
        if (qAddOverflow(total, choice.quantity, &total) || total > line->left())
            return OverWhatIsLeft();
        lines.push_back({line->lineId, line->barcode, line->name, line->price.asText(),
                         MoneyAmount::rounded(line->price.asDouble()), choice.quantity, choice.backToStock});
    }
    if (lines.empty())
        return NothingChosen();
    return std::nullopt;
}

} // namespace

RecordedRefund RecordRefund(Database& db, const RefundRequest& request, std::optional<qint64> receiptNumber)
{
    const bool referenced = !request.originalSaleId.isEmpty();
    if (referenced ? request.lines.empty() : request.looseLines.empty())
        return Refused(NothingChosen());
    if (referenced && !request.looseLines.empty())
        return Refused(TranslateText("A refund of a receipt takes only the receipt's lines."));

    Transaction transaction(db);
    if (!transaction.active())
        return {};

    SaleRecordRow record;
    record.kind = SaleRecordKind::Refund;
    record.receiptNumber = receiptNumber;
    record.reason = request.reason.trimmed();
    QString tenderType = request.tenderType;
    bool onAccount = false;
    std::optional<qint64> originalReceiptNumber;
    std::vector<RefundLine> lines;
    if (referenced) {
        // What is left is read only once the original is held: two tills refunding it take turns here.
        const std::optional<RefundableSale> sale = ReadRefundableSale(db, request.originalSaleId, true);
        if (transaction.failed())
            return {};
        if (!sale)
            return Refused(TranslateText("Only a sale can be refunded."));
        if (const std::optional<QString> refusal = ChosenLines(*sale, request.lines, lines))
            return Refused(*refusal);
        record.originalSaleId = request.originalSaleId;
        originalReceiptNumber = sale->original.record.receiptNumber;
        onAccount = sale->onAccount;
        if (onAccount) {
            record.customerId = sale->original.record.customerId.value_or(0);
            record.customerName = sale->original.record.customerName;
            tenderType = kAccount;
        }
    } else {
        record.unreferenced = true;
        for (const UnreferencedRefundLine& loose : request.looseLines) {
            if (loose.quantity < 0)
                return Refused(OverWhatIsLeft());
            if (loose.quantity > 0)
                lines.push_back({std::nullopt, loose.barcode, loose.name, loose.price.asText(),
                                 MoneyAmount::rounded(loose.price.asDouble()), loose.quantity, loose.backToStock});
        }
        if (lines.empty())
            return Refused(NothingChosen());
    }
    if (tenderType.isEmpty())
        return Refused(TranslateText("Choose how the money is paid back."));
    // Only a sale on account has a customer whose credit the refund can lower.
    if (tenderType == kAccount && !onAccount)
        return Refused(TranslateText("Only a sale on account is refunded to the account."));

    MoneySum sum;
    for (const RefundLine& line : lines)
        sum.add(line.price, line.quantity);
    if (!sum.exact() || sum.cents() == std::numeric_limits<qint64>::min())
        return Refused(TranslateText("The amounts of this sale are too large to be recorded."));
    record.subtotalCents = record.totalCents = -sum.cents();
    const std::vector<TenderRow> tenders{{tenderType, record.totalCents, std::nullopt, std::nullopt}};
    const std::optional<RecordStamp> stamp = StoreSaleRecord(db, record, tenders);
    if (!stamp)
        return {};

    PaymentsTable payments(db);
    CreditLinesTable creditLines(db);
    QStringList listLines;
    for (const RefundLine& line : lines) {
        const bool stored = onAccount ? creditLines.insert(*stamp, *record.customerId, record.customerName, line.barcode,
                                                           line.name, -line.quantity, line.storedPrice, line.refundOf)
                                      : payments.insert(*stamp, receiptNumber.value_or(0), line.barcode, line.name,
                                                        -line.quantity, line.storedPrice, line.refundOf);
        if (!stored)
            return {};
        listLines << ReceiptListLine(line.name, line.price.text(), -line.quantity);
    }
    // In barcode order, as a sale lowers it: two tills never wait for each other's product rows.
    std::vector<const RefundLine*> byBarcode;
    for (const RefundLine& line : lines)
        if (line.backToStock)
            byBarcode.push_back(&line);
    std::stable_sort(byBarcode.begin(), byBarcode.end(),
                     [](const RefundLine* a, const RefundLine* b) { return a->barcode < b->barcode; });
    ProductsTable products(db);
    for (const RefundLine* line : byBarcode) {
        products.lowerStock(line->barcode, -line->quantity); // a product no longer there has no row to raise
        if (transaction.failed())
            return {};
    }
    RecordedRefund refund;
    refund.committed = transaction.commit();
    if (!refund.committed)
        return refund;
    refund.saleId = stamp->saleId;
    refund.recordedAt = stamp->recordedAt;
    refund.totalCents = record.totalCents;
    refund.listText = listLines.join(QStringLiteral("\r\n"));
    refund.tenders = tenders;
    refund.originalReceiptNumber = originalReceiptNumber;
    return refund;
}

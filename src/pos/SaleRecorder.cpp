#include "pos/SaleRecorder.h"

#include "i18n/Translator.h"
#include "pos/MoneyAmount.h"
#include "pos/Payment.h"
#include "pos/Receipt.h"
#include "pos/RecordAmounts.h"
#include "pos/SaleRecordStore.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"

#include <QStringList>

#include <algorithm>

namespace {

bool TendersAddUpTo(const std::vector<TenderRow>& tenders, qint64 totalCents)
{
    qint64 sum = 0;
    for (const TenderRow& tender : tenders)
        if (qAddOverflow(sum, tender.amountCents, &sum))
            return false;
    return !tenders.empty() && sum == totalCents;
}

} // namespace

RecordedSale RecordSale(Database& db, const std::vector<SaleLine>& lines, const Payment& payment,
                        std::optional<qint64> receiptNumber)
{
    RecordedSale sale;
    const std::optional<RecordAmounts> amounts = RecordAmountsOf(lines);
    if (!amounts) {
        db.reportError(TranslateText("The amounts of this sale are too large to be recorded."));
        return sale;
    }
    const std::vector<TenderRow> tenders = payment.tendersFor(amounts->totalCents);
    if (!TendersAddUpTo(tenders, amounts->totalCents)) {
        db.reportError(TranslateText("The payments do not add up to the total."));
        return sale;
    }

    Transaction transaction(db);
    if (!transaction.active())
        return sale;
    SaleRecordRow record;
    record.receiptNumber = receiptNumber;
    if (payment.account()) {
        record.customerId = payment.account()->id;
        record.customerName = payment.account()->name;
    }
    record.subtotalCents = amounts->subtotalCents;
    record.discountCents = amounts->discountCents;
    record.totalCents = amounts->totalCents;
    const std::optional<RecordStamp> stored = StoreSaleRecord(db, record, tenders);
    if (!stored)
        return sale;

    const RecordStamp& stamp = *stored;
    PaymentsTable payments(db);
    CreditLinesTable creditLines(db);
    QStringList listLines;
    for (const SaleLine& line : lines) {
        const QString price = line.unitPrice.text();
        const bool stored = payment.account()
                                ? creditLines.insert(stamp, payment.account()->id, payment.account()->name,
                                                     line.barcode, line.name, line.quantity, price)
                                : payments.insert(stamp, receiptNumber.value_or(0), line.barcode, line.name,
                                                  line.quantity, price);
        if (!stored)
            return sale;
        listLines << ReceiptListLine(line.name, price, line.quantity);
    }
    // On a server the product rows whose stock a sale lowers stay locked until it commits. Two tills that took
    // them in the orders of their lists could each wait for the other, and the server would end that by failing
    // one of the sales; in barcode order no till ever waits for one that waits for it.
    std::vector<const SaleLine*> byBarcode;
    for (const SaleLine& line : lines)
        byBarcode.push_back(&line);
    std::stable_sort(byBarcode.begin(), byBarcode.end(),
                     [](const SaleLine* a, const SaleLine* b) { return a->barcode < b->barcode; });
    ProductsTable products(db);
    for (const SaleLine* line : byBarcode) {
        products.lowerStock(line->barcode, line->quantity);
        if (transaction.failed())
            return sale;
    }
    sale.committed = transaction.commit();
    sale.listText = listLines.join(QStringLiteral("\r\n"));
    sale.totalCents = amounts->totalCents;
    sale.saleId = stamp.saleId;
    sale.recordedAt = stamp.recordedAt;
    sale.tenders = tenders;
    return sale;
}

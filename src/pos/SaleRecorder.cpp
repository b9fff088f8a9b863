#include "pos/SaleRecorder.h"

#include "pos/MoneySum.h"
#include "pos/Receipt.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"

#include <algorithm>
#include <functional>

namespace {

// insertLine stores one line and says whether it was stored.
RecordedSale RecordSale(Database& db, const std::vector<SaleLine>& lines,
                        const std::function<bool(const SaleLine&)>& insertLine)
{
    RecordedSale sale;
    Transaction transaction(db);
    if (!transaction.active())
        return sale;
    ProductsTable products(db);
    QStringList listLines;
    MoneySum total;
    // A failed line is reported and the sale goes on without it, unless the failure ended the transaction (as a
    // server's does): then the sale stops at it, with nothing stored and that one failure reported.
    for (const SaleLine& line : lines) {
        if (insertLine(line)) {
            total.add(line.unitPrice, line.quantity);
            listLines << ReceiptListLine(line.name, line.unitPrice.text(), line.quantity);
        } else if (transaction.failed()) {
            return sale;
        }
    }
    // On a server the product rows whose stock a sale lowers stay locked until it commits. Two tills that took
    // them in the orders of their lists could each wait for the other, and the server would end that by failing
    // one of the sales; in barcode order no till ever waits for one that waits for it.
    std::vector<const SaleLine*> byBarcode;
    for (const SaleLine& line : lines)
        byBarcode.push_back(&line);
    std::stable_sort(byBarcode.begin(), byBarcode.end(),
                     [](const SaleLine* a, const SaleLine* b) { return a->barcode < b->barcode; });
    for (const SaleLine* line : byBarcode) {
        products.lowerStock(line->barcode, line->quantity);
        if (transaction.failed())
            return sale;
    }
    sale.committed = transaction.commit();
    sale.listText = listLines.join(QStringLiteral("\r\n"));
    sale.total = total.value();
    return sale;
}

} // namespace

RecordedSale RecordCashSale(Database& db, qint64 receiptNumber, const std::vector<SaleLine>& lines)
{
    PaymentsTable payments(db);
    return RecordSale(db, lines, [&](const SaleLine& line) {
        return payments.insert(receiptNumber, line.barcode, line.name, line.quantity, line.unitPrice.text());
    });
}

RecordedSale RecordCreditSale(Database& db, qint64 customerId, const QString& customerName,
                              const std::vector<SaleLine>& lines)
{
    CreditLinesTable creditLines(db);
    return RecordSale(db, lines, [&](const SaleLine& line) {
        return creditLines.insert(customerId, customerName, line.barcode, line.name, line.quantity,
                                  line.unitPrice.text());
    });
}

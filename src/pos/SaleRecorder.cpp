#include "pos/SaleRecorder.h"

#include "pos/MoneySum.h"
#include "pos/Receipt.h"
#include "pos/SaleTotals.h"
#include "store/Database.h"

#include <algorithm>
#include <functional>

namespace {

void LowerStock(Database& db, const SaleLine& line)
{
    const QueryResult stock =
        db.Query(QStringLiteral("SELECT stok FROM urunler where barkod=?;"), {line.barcode});
    // Only a stock actually read is lowered; a failed read must not reset the product's stock.
    if (!stock.ok)
        return;
    qint64 current = 0;
    if (!stock.empty())
        current = stock.value(stock.size() - 1, QStringLiteral("stok")).asInteger();
    const qint64 remaining = std::max<qint64>(current - line.quantity, 0);
    db.ExecuteDirect(QStringLiteral("update urunler set stok=? where barkod=?;"), {remaining, line.barcode});
}

// insertLine stores one line and says whether it was stored.
RecordedSale RecordSale(Database& db, const std::vector<SaleLine>& lines,
                        const std::function<bool(const SaleLine&)>& insertLine)
{
    RecordedSale sale;
    if (!db.BeginTransaction())
        return sale;
    QStringList listLines;
    MoneySum total;
    for (const SaleLine& line : lines) {
        if (insertLine(line) && total.tryAdd(line.unitPriceText, line.quantity))
            listLines << ReceiptListLine(line.name, line.unitPriceText, line.quantity);
        LowerStock(db, line);
    }
    sale.committed = db.Commit();
    sale.listText = listLines.join(QStringLiteral("\r\n"));
    sale.total = total.value();
    return sale;
}

} // namespace

RecordedSale RecordCashSale(Database& db, qint64 receiptNumber, const std::vector<SaleLine>& lines)
{
    return RecordSale(db, lines, [&](const SaleLine& line) {
        return db.ExecuteDirect(
            QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat) values (?,?,?,?,?);"),
            {receiptNumber, line.barcode, line.name, line.quantity, line.unitPriceText});
    });
}

RecordedSale RecordCreditSale(Database& db, qint64 customerId, const QString& customerName,
                              const std::vector<SaleLine>& lines)
{
    return RecordSale(db, lines, [&](const SaleLine& line) {
        return db.ExecuteDirect(QStringLiteral("insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,"
                                               "fiyat) values (?,?,?,?,?,?);"),
                                {customerId, customerName, line.barcode, line.name, line.quantity,
                                 line.unitPriceText});
    });
}

#include "ServerBaselines.h"

#include "BaselineSale.h"

#include <QHash>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

QString Money(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    return QString::fromLatin1(buffer);
}

} // namespace

ServerBaselines::ServerBaselines(const QString& url)
    : m_server(url)
{
    m_ready = m_server.isOpen()
              && m_server.prepare("lookup", "SELECT barkod, urunadi, fiyat, stok, kayittarihi FROM urunler "
                                            "where barkod=$1;")
              && m_server.prepare("record", "INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, "
                                            "customer_id, customer_name, subtotal_cents, discount_cents, total_cents) "
                                            "VALUES ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10);")
              && m_server.prepare("tender", "INSERT INTO tenders (sale_id, position, tender_type, amount_cents, "
                                            "handed_cents, change_cents) VALUES ($1,$2,$3,$4,$5,$6);")
              && m_server.prepare("pay", "insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi,sale_id,kasa) "
                                         "values ($1,$2,$3,$4,$5,$6,$7,$8);")
              && m_server.prepare("stock", "SELECT stok FROM urunler where barkod=$1 order by id FOR UPDATE;")
              && m_server.prepare("lower", "update urunler set stok=$1 where barkod=$2;")
              && m_server.prepare("history", "SELECT id, fisno, barkod, urunadi, fiyat, adet, odemetarihi "
                                             "FROM odemeler where odemetarihi between $1 and $2 "
                                             "order by odemetarihi, id;")
              && m_server.prepare("receipts", "SELECT sale_id, till, receipt_no, recorded_at, kind, customer_name, "
                                              "total_cents FROM sale_records WHERE recorded_at >= $1 AND "
                                              "recorded_at < $2 ORDER BY recorded_at DESC, id DESC LIMIT $3;")
              && m_server.prepare("receipt tenders", "SELECT sale_id, tender_type, amount_cents FROM tenders "
                                                     "WHERE sale_id = ANY ($1::text[]) ORDER BY sale_id, position;");
}

void ServerBaselines::scan(const QStringList& barcodes, QTreeWidget& list, QLabel& total)
{
    list.clear();
    std::vector<std::array<QString, 7>> rows;
    for (const QString& barcode : barcodes) {
        const QByteArray code = barcode.toUtf8();
        const RawResult found(m_server.run("lookup", {code.constData()}));
        for (int r = 0; r < found.rows(); ++r) {
            const double price = std::strtod(found.cell(r, 2), nullptr);
            rows.push_back({found.text(r, 0), found.text(r, 1), Money(price), QStringLiteral("1"), Money(price),
                            QString(), QString()});
            const auto& row = rows.back();
            new QTreeWidgetItem(&list, QStringList{row[0], row[1], row[2], row[3], row[4], row[5], row[6]});
        }
        double sum = 0;
        for (const auto& row : rows)
            sum += row[4].toDouble();
        total.setText(QStringLiteral("$ ") + Money(sum));
    }
}

ServerBaselines::StoredSale ServerBaselines::storeSale(const std::vector<SaleLine>& lines, qint64 receiptNumber,
                                                        const QString& till)
{
    StoredSale sale;
    const QByteArray receipt = QByteArray::number(receiptNumber);
    const QByteArray tillName = till.toUtf8();
    // The record's amounts and the time, before anything is written: the record comes first.
    const BaselineSale prepared = PrepareBaselineSale(lines);
    const QByteArray& saleId = prepared.saleId;
    const QByteArray& now = prepared.recordedAt;
    const QByteArray subtotalText = QByteArray::number(prepared.subtotalCents);
    const QByteArray discountText = QByteArray::number(prepared.subtotalCents - prepared.totalCents);
    const QByteArray totalText = QByteArray::number(prepared.totalCents);
    sale.totalCents = prepared.totalCents;
    if (!m_server.exec("BEGIN"))
        return sale;
    bool stored =
        RawResult(m_server.run("record", {saleId.constData(), tillName.constData(), receipt.constData(), now.constData(),
                                          "sale", nullptr, nullptr, subtotalText.constData(), discountText.constData(),
                                          totalText.constData()}))
            .ok()
        && RawResult(m_server.run("tender", {saleId.constData(), "1", "Cash", totalText.constData(), nullptr, nullptr}))
               .ok();
    for (const SaleLine& line : lines) {
        const QString priceText = line.unitPrice.text();
        const QByteArray code = line.barcode.toUtf8();
        const QByteArray name = line.name.toUtf8();
        const QByteArray quantity = QByteArray::number(line.quantity);
        const QByteArray price = priceText.toUtf8();
        stored = RawResult(m_server.run("pay", {receipt.constData(), code.constData(), name.constData(),
                                                quantity.constData(), price.constData(), now.constData(),
                                                saleId.constData(), tillName.constData()}))
                     .ok()
                 && stored;
        sale.list += line.name + QStringLiteral(" (") + priceText + QStringLiteral(") * ")
                     + QString::number(line.quantity) + QStringLiteral("\r\n");
    }
    for (const SaleLine* line : prepared.byBarcode) {
        const QByteArray code = line->barcode.toUtf8();
        qint64 current = 0;
        {
            const RawResult stock(m_server.run("stock", {code.constData()}));
            stored = stock.ok() && stored;
            if (stock.rows() > 0)
                current = std::strtoll(stock.cell(stock.rows() - 1, 0), nullptr, 10);
        }
        const QByteArray remaining = QByteArray::number(std::max<qint64>(0, current - line->quantity));
        stored = RawResult(m_server.run("lower", {remaining.constData(), code.constData()})).ok() && stored;
    }
    sale.committed = stored && m_server.exec("COMMIT");
    if (!sale.committed)
        m_server.exec("ROLLBACK");
    return sale;
}

double ServerBaselines::history(const QString& begin, const QString& end)
{
    struct Line { qint64 id; QString receipt, barcode, product, quantity, date; double price, total; };
    std::vector<Line> lines;
    double grand = 0;
    const QByteArray b = begin.toLatin1();
    const QByteArray e = end.toLatin1();
    const RawResult found(m_server.run("history", {b.constData(), e.constData()}));
    const int rows = found.rows();
    lines.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) {
        Line l{std::strtoll(found.cell(r, 0), nullptr, 10), found.text(r, 1), found.text(r, 2), found.text(r, 3),
               found.text(r, 5), found.text(r, 6), std::strtod(found.cell(r, 4), nullptr), 0};
        l.total = l.price * std::strtod(found.cell(r, 5), nullptr);
        grand += l.total;
        lines.push_back(std::move(l));
    }
    (void)Money(grand);
    return grand;
}

std::vector<QString> ServerBaselines::receipts(const QString& from, const QString& until, int limit)
{
    const QByteArray f = from.toLatin1();
    const QByteArray u = until.toLatin1();
    const QByteArray l = QByteArray::number(limit);
    const RawResult found(m_server.run("receipts", {f.constData(), u.constData(), l.constData()}));
    QByteArray ids = "{";
    for (int r = 0; r < found.rows(); ++r)
        ids += (r ? "," : "") + QByteArray(found.cell(r, 0));
    ids += '}';
    QHash<QByteArray, QString> tenders;
    const RawResult paid(m_server.run("receipt tenders", {ids.constData()}));
    for (int r = 0; r < paid.rows(); ++r) {
        QString& text = tenders[QByteArray(paid.cell(r, 0))];
        if (!text.isEmpty())
            text += QStringLiteral(" + ");
        text += paid.text(r, 1) + QLatin1Char(' ') + Money(std::strtoll(paid.cell(r, 2), nullptr, 10) / 100.0);
    }
    std::vector<QString> cells;
    cells.reserve(size_t(found.rows()) * 7);
    for (int r = 0; r < found.rows(); ++r) {
        cells.insert(cells.end(), {found.text(r, 3), found.text(r, 1), found.length(r, 2) ? found.text(r, 2) : QStringLiteral("-"),
                                   found.text(r, 5), tenders.value(QByteArray(found.cell(r, 0))),
                                   Money(std::strtoll(found.cell(r, 6), nullptr, 10) / 100.0),
                                   found.text(r, 4) == QLatin1String("sale") ? QStringLiteral("Sale")
                                                                              : QStringLiteral("Settlement")});
    }
    return cells;
}

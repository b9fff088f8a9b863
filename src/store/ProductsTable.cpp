#include "store/ProductsTable.h"

#include "store/TableRows.h"

#include <algorithm>

std::optional<std::vector<ProductRecord>> ProductsTable::withBarcode(const QString& barcode)
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT barkod, urunadi, fiyat, stok, kayittarihi FROM urunler where barkod=?;"), {barcode});
    if (!found.ok)
        return std::nullopt;
    std::vector<ProductRecord> products;
    for (size_t i = 0; i < found.size(); ++i)
        products.push_back({found.text(i, QStringLiteral("barkod")), found.text(i, QStringLiteral("urunadi")),
                            found.value(i, QStringLiteral("fiyat")), found.value(i, QStringLiteral("stok")).asInteger(),
                            found.text(i, QStringLiteral("kayittarihi"))});
    return products;
}

QStringList ProductsTable::barcodes()
{
    return FirstColumnTexts(m_db, QStringLiteral("SELECT barkod FROM urunler order by barkod;"));
}

bool ProductsTable::insert(const QString& barcode, const QString& name, const QVariant& price, const QVariant& stock)
{
    return m_db.ExecuteDirect(
        QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values (?, ?, ?, ?, ?);"),
        {barcode, name, price, stock, m_db.localNow()});
}

bool ProductsTable::update(const QString& barcode, const QString& name, const QVariant& price, const QVariant& stock)
{
    return m_db.ExecuteDirect(QStringLiteral("update urunler set urunadi=?, fiyat=?, stok=? where barkod=?;"),
                              {name, price, stock, barcode});
}

bool ProductsTable::remove(const QString& barcode)
{
    return m_db.ExecuteDirect(QStringLiteral("delete from urunler where barkod=?;"), {barcode});
}

void ProductsTable::lowerStock(const QString& barcode, qint64 quantity)
{
    // On a server the rows stay locked until the sale commits: a second till selling the same product waits
    // and then reads the stock this sale left, so no decrement is lost.
    const QueryResult stock = m_db.Query(
        QStringLiteral("SELECT stok FROM urunler where barkod=? order by id%1;").arg(m_db.lockForUpdateSql()), {barcode});
    if (!stock.ok)
        return;
    qint64 current = 0;
    if (!stock.empty())
        current = stock.value(stock.size() - 1, QStringLiteral("stok")).asInteger();
    const qint64 remaining = std::max<qint64>(current - quantity, 0);
    m_db.ExecuteDirect(QStringLiteral("update urunler set stok=? where barkod=?;"), {remaining, barcode});
}

Statement ProductsTable::pickerRows(const QString& containing)
{
    if (containing.isEmpty())
        return m_db.prepare(QStringLiteral("SELECT barkod, urunadi, fiyat FROM urunler;"));
    Statement rows = m_db.prepare(QStringLiteral("SELECT barkod, urunadi, fiyat FROM urunler where (urunadi %1 ?1) "
                                                 "or (barkod %1 ?1);")
                                      .arg(m_db.caseInsensitiveLikeSql()));
    if (rows.isValid())
        rows.bind(1, QString(QLatin1Char('%') + containing + QLatin1Char('%')));
    return rows;
}

Statement ProductsTable::insertStatement()
{
    return m_db.prepare(
        QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values (?, ?, ?, ?, ?);"));
}

qint64 ProductsTable::rowCount()
{
    return TableRows(m_db, "urunler").count();
}

Statement ProductsTable::allRows()
{
    return TableRows(m_db, "urunler").all();
}

Statement ProductsTable::stockSheetRows()
{
    return m_db.prepare(QStringLiteral("SELECT barkod, urunadi, fiyat, stok, kayittarihi FROM urunler order by stok desc;"));
}

QStringList ProductsTable::names()
{
    return FirstColumnTexts(m_db, QStringLiteral("SELECT urunadi FROM urunler order by urunadi;"));
}

bool ProductsTable::removeAll()
{
    return TableRows(m_db, "urunler").removeAll();
}

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
                            found.value(i, QStringLiteral("fiyat")), found.value(i, QStringLiteral("stok")),
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

ProductUpdate ProductsTable::update(const QString& barcode, const QString& name, const QVariant& price, qint64 stock,
                                   const DbValue& stockRead)
{
    const bool stockKept = stockRead.raw().typeId() == QMetaType::LongLong && stockRead.asInteger() == stock;
    const QueryResult written =
        stockKept ? m_db.Query(QStringLiteral("update urunler set urunadi=?, fiyat=? where barkod=? returning id;"),
                               {name, price, barcode})
                  : m_db.Query(QStringLiteral("update urunler set urunadi=?, fiyat=?, stok=? where barkod=? "
                                              "and (stok=?5 or (stok is null and ?5 is null)) returning id;"),
                               {name, price, stock, barcode, stockRead.raw()});
    if (!written.ok)
        return ProductUpdate::Failed;
    return written.empty() ? ProductUpdate::ChangedMeanwhile : ProductUpdate::Written;
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
    return m_db.prepare(QStringLiteral("SELECT barkod, urunadi, fiyat, stok, kayittarihi FROM urunler order by stok desc nulls last, id;"));
}

QStringList ProductsTable::names()
{
    return FirstColumnTexts(m_db, QStringLiteral("SELECT urunadi FROM urunler order by urunadi;"));
}

bool ProductsTable::removeAll()
{
    return TableRows(m_db, "urunler").removeAll();
}

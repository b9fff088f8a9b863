#pragma once

#include "store/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One row of urunler as the windows read it.
struct ProductRecord
{
    QString barcode;
    QString name;
    DbValue price; // as stored: a number, or text the windows must read themselves
    DbValue stock; // as stored: NULL, or on data.db any value
    QString recorded; // kayittarihi
};

// What an update of a product did.
enum class ProductUpdate {
    Written,
    ChangedMeanwhile, // nothing written: the stock is no longer the one read, or the barcode is gone
    Failed            // nothing written: the statement failed (reported)
};

// Every statement on urunler. Failures are reported by the database's error reporter.
class ProductsTable
{
public:
    explicit ProductsTable(Database& db) : m_db(db) {}

    // The products with this barcode in stored order; nothing when the lookup failed.
    std::optional<std::vector<ProductRecord>> withBarcode(const QString& barcode);
    // Every barcode, in order.
    QStringList barcodes();
    bool insert(const QString& barcode, const QString& name, const QVariant& price, const QVariant& stock);
    // Writes the name and price of the products with the barcode, and the stock when it is not what stockRead,
    // the stock as read when the product was shown, already holds. The stock is written only while it is still
    // stockRead, so that units sold meanwhile (on another till too) are never written back.
    ProductUpdate update(const QString& barcode, const QString& name, const QVariant& price, qint64 stock,
                         const DbValue& stockRead);
    bool remove(const QString& barcode);
    // Lowers the stock by the quantity, never below 0. Products sharing the barcode all take what the last of
    // them had left; a stock that cannot be read is left as it is.
    void lowerStock(const QString& barcode, qint64 quantity);

    // Barcode, name and price of every product, or of those whose name or barcode contains the text (letters
    // in any case; "%" and "_" act as wildcards), unsorted.
    Statement pickerRows(const QString& containing);
    // Every column of every product, in the order they were added.
    Statement allRows();
    // How many rows allRows() walks; -1 when the count failed.
    qint64 rowCount();
    // Barcode, name, price, stock and date of every product, most in stock first (a stock never set last, equal
    // stocks in the order added: the same order on both engines).
    Statement stockSheetRows();
    // Every product's name, in order.
    QStringList names();
    bool removeAll();

private:
    Database& m_db;
};

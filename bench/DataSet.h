#pragma once

#include <QString>
#include <QStringList>

// Deterministic data sets (fixed seed) written straight into a copy of empty.db.
struct DataSetSize
{
    int products = 100000;
    int customers = 5000;
    int credits = 200000;
    int payments = 1000000;
    // Sale records of the shop's two other tills, with their tenders (their lines are not part of the data set, so
    // the history benchmarks keep their size). With the records data.db gets for its lines when the program first
    // opens it, a month holds about 40,000 records.
    int otherTillRecords = 438000;
};

// Copies empty.db to <folder>/data.db and fills it. Returns the barcodes of the products, in insert order.
QStringList CreateDataSet(const QString& emptyDbPath, const QString& folder, const DataSetSize& size);

// The barcodes of an existing data set, in insert order.
QStringList ExistingBarcodes(const QString& dataFile);

// A CSV file for the product import: header plus `count` lines "barcode;name;price;stock".
void WriteImportFile(const QString& path, int count);

// Payments run from this day on, about 1,400 a day for two years.
inline constexpr const char* kFirstPaymentDay = "2024-01-01";

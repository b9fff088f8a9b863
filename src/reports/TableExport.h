#pragma once

#include "reports/DataTable.h"

#include <QChar>
#include <QString>

class Database;

struct CsvExportResult
{
    enum class Status {
        Written,
        QueryFailed, // the database has reported it already; no file was written
        BadValue,    // a stored price is not a number; message says which; no file was written
        WriteFailed  // message holds the file error; the old file, if any, is intact
    };
    Status status = Status::Written;
    QString message;
    int rows = 0;

    bool ok() const { return status == Status::Written; }
};

// The table exports: a header line, then one line per row in id order, fields unquoted and joined by the
// separator, prices with two decimals, date-times as stored (customers, payments and credits also split into
// date and time). Nothing is written unless the whole file could be built.
CsvExportResult ExportProductsCsv(Database& db, QChar separator, const QString& path);
CsvExportResult ExportCustomersCsv(Database& db, QChar separator, const QString& path);
CsvExportResult ExportPaymentsCsv(Database& db, QChar separator, const QString& path);
// paidWord is written for settled lines (the translated "PAID"); open lines get "-".
CsvExportResult ExportCreditsCsv(Database& db, QChar separator, const QString& paidWord, const QString& path);

CsvExportResult ExportTableCsv(Database& db, DataTable table, QChar separator, const QString& paidWord,
                               const QString& path);

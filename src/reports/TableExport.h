#pragma once

#include "reports/CsvExportFile.h"
#include "reports/DataTable.h"

#include <QChar>
#include <QString>

class Database;
class LongTaskProgress;

// The table exports: a header line, then one line per row in id order, fields unquoted and joined by the
// separator, prices with two decimals, date-times as stored (customers, payments and credits also split into
// date and time). The file is written into a temporary file that replaces the target only when every row was
// written. With a progress, each row is a step and a cancel leaves the target untouched.
CsvExportResult ExportProductsCsv(Database& db, QChar separator, const QString& path,
                                  LongTaskProgress* progress = nullptr);
CsvExportResult ExportCustomersCsv(Database& db, QChar separator, const QString& path,
                                   LongTaskProgress* progress = nullptr);
CsvExportResult ExportPaymentsCsv(Database& db, QChar separator, const QString& path,
                                  LongTaskProgress* progress = nullptr);
// paidWord is written for settled lines (the translated "PAID"); open lines get "-".
CsvExportResult ExportCreditsCsv(Database& db, QChar separator, const QString& paidWord, const QString& path,
                                 LongTaskProgress* progress = nullptr);

CsvExportResult ExportTableCsv(Database& db, DataTable table, QChar separator, const QString& paidWord,
                               const QString& path, LongTaskProgress* progress = nullptr);

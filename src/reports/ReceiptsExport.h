#pragma once

#include "reports/CsvExportFile.h"
#include "store/SaleRecordsTable.h"

#include <QChar>
#include <QString>

class Database;
class LongTaskProgress;

// The records of the receipts list's filter, newest first as listed, as a CSV file: a header, then a line per
// record with its date-time, till, receipt number (empty without one), kind and customer as stored, subtotal,
// discount and total, its tenders (type codes and amounts, "Cash 12.50 + Card 3.00") and its sale id. The records
// are read a page at a time and written in pieces into a temporary file that replaces the target only when every
// record was written. With a progress, each record is a step and a cancel leaves the target as it was.
CsvExportResult ExportReceiptsCsv(Database& db, const SaleRecordFilter& filter, QChar separator, const QString& path,
                                  LongTaskProgress* progress = nullptr);

#pragma once

#include "cashup/ZReports.h"
#include "reports/CsvExportFile.h"

#include <QChar>
#include <QString>
#include <vector>

class Database;
class LongTaskProgress;

// The columns of the "Z Reports" list.
enum ZReportColumn { ZTill, ZNumber, ZOpened, ZClosed, ZSales, ZExpected, ZCounted, ZDifference, ZReportColumnCount };

// The cells of the list, row after row: till, Z number, opened, closed, sales total, expected cash, counted and the
// difference (money text without the symbol).
std::vector<QString> ZReportListCells(const std::vector<ZReport>& reports);

// The Z reports of ZReportsOf(fromDay, untilDay, till) as a CSV file: a header, then a line per Z with its till,
// number, times and every figure of it (money as "12.50"), the per-type lines left out. The target is replaced
// only when every line was written; a failed lookup (reported) writes nothing; with a progress, each Z is a step and a
// cancel leaves it as it was.
CsvExportResult ExportZReportsCsv(Database& db, const QString& fromDay, const QString& untilDay, const QString& till,
                                  QChar separator, const QString& path, LongTaskProgress* progress = nullptr);

#pragma once

#include "reports/DataTable.h"
#include "reports/TableExport.h"

#include <functional>

class AppContext;
class Database;
class LongTaskProgress;
class QWidget;

// The main window's "Export", "Import" and "Delete" menu commands on whole tables.

// Asks for a CSV file and writes the table to it; nothing is written when the dialog is cancelled.
void ExportTableCommand(AppContext& context, DataTable table);
// Runs a CSV export on a worker with a connection of its own to the shop's database while the window over parent
// keeps repainting and, for a long one, shows its progress with Cancel (which leaves the file as it was); the
// database's messages and a file that could not be written are shown afterwards.
using CsvExporter = std::function<CsvExportResult(Database& db, LongTaskProgress& progress)>;
void RunCsvExport(AppContext& context, QWidget* parent, const CsvExporter& exporter);
// Asks for a CSV file, imports its products and tells how many entries were imported.
void ImportProductsCommand(AppContext& context);
// Administrators only: asks first, then empties the table.
void DeleteTableCommand(AppContext& context, DataTable table);

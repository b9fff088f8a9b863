#pragma once

#include "reports/CsvExportFile.h"

#include <functional>

class AppContext;
class Database;
class LongTaskProgress;
class QWidget;

// Runs a CSV export on a worker with a connection of its own to the shop's database while the window over parent
// keeps repainting and, for a long one, shows its progress with Cancel (which leaves the file as it was); the
// database's messages and a file that could not be written are shown afterwards.
using CsvExporter = std::function<CsvExportResult(Database& db, LongTaskProgress& progress)>;
void RunCsvExport(AppContext& context, QWidget* parent, const CsvExporter& exporter);

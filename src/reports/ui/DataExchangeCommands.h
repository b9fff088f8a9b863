#pragma once

#include "reports/DataTable.h"

class AppContext;

// The main window's "Export", "Import" and "Delete" menu commands on whole tables.

// Asks for a CSV file and writes the table to it; nothing is written when the dialog is cancelled.
void ExportTableCommand(AppContext& context, DataTable table);
// Asks for a CSV file, imports its products and tells how many entries were imported.
void ImportProductsCommand(AppContext& context);
// Administrators only: asks first, then empties the table.
void DeleteTableCommand(AppContext& context, DataTable table);

#pragma once

#include "reports/DataTable.h"

class TAppForm;

// The main window's "Export", "Import" and "Delete" menu commands on whole tables.

// Asks for a CSV file and writes the table to it; nothing is written when the dialog is cancelled.
void ExportTableCommand(TAppForm& main, DataTable table);
// Asks for a CSV file, imports its products and tells how many entries were imported.
void ImportProductsCommand(TAppForm& main);
// Administrators only: asks first, then empties the table.
void DeleteTableCommand(TAppForm& main, DataTable table);

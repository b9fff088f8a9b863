#pragma once

#include "reports/DataTable.h"

#include <QString>

class Database;

// The question asked before a table is emptied (English, to be passed through TranslateText).
QString DeleteAllQuestion(DataTable table);
// Empties the table; a failure has been reported by the database.
bool DeleteAllRows(Database& db, DataTable table);

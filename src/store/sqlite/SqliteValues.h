#pragma once

#include "store/DbValue.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// The engine's message for the last failure on the connection.
QString SqliteMessage(sqlite3* db);
// A column of the current row as the program reads values (see DbValue).
DbValue SqliteColumnValue(sqlite3_stmt* stmt, int column);
// Binds a value as the program stores it: numbers as numbers, dates as "yyyy-MM-dd HH:mm:ss" text. SQLite's
// result code.
int SqliteBind(sqlite3_stmt* stmt, int index, const QVariant& value);

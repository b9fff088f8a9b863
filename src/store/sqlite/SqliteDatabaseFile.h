#pragma once

#include <QString>

// True when the file starts with the SQLite header and opens as a database whose schema can be read.
bool IsSqliteDatabaseFile(const QString& path);

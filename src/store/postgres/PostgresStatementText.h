#pragma once

#include <QByteArray>
#include <QString>

// The statement text as PostgreSQL takes it: "?NNN" becomes "$NNN" and a bare "?" the next number after the
// largest so far, as SQLite numbers them; quoted text is left alone. count receives the number of parameters.
QByteArray PostgresStatementText(const QString& sql, int* count = nullptr);

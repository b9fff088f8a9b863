#pragma once

#include "store/Database.h"
#include "store/SaleRecordsTable.h"

#include <QStringList>
#include <optional>
#include <vector>

// The statements every table of the program has, for the table named: its rows counted, listed whole in the
// order they were added, one deleted by id, all deleted. The name is one of the program's own tables, never
// text from outside.
class TableRows
{
public:
    TableRows(Database& db, const char* table) : m_db(db), m_table(QLatin1String(table)) {}

    // -1 when the count could not be read.
    qint64 count();
    Statement all();
    bool remove(qint64 id);
    bool removeAll();

private:
    Database& m_db;
    QString m_table;
};

// "?,?,?" for n bound values.
QString Placeholders(size_t n);

// The first column of every row of a query, as text; empty when the query failed (reported).
QStringList FirstColumnTexts(Database& db, const QString& sql);

// An optional whole number as a bound value (NULL when there is none), and read back.
QVariant IntegerOrNull(const std::optional<qint64>& value);
std::optional<qint64> OptionalInteger(const DbValue& value);

// The lines of a record in a table of lines (odemeler, veresiyeler: a name of the program's own), in the order they
// were added; nothing when the lookup failed (reported).
std::optional<std::vector<RecordLine>> LinesOfRecord(Database& db, const char* table, const QString& saleId);

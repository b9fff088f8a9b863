#include "store/sqlite/SqliteCursor.h"

#include "store/sqlite/SqliteValues.h"

#include <sqlite3.h>

SqliteCursor::~SqliteCursor()
{
    sqlite3_finalize(m_stmt);
}

void SqliteCursor::bind(int index, const QVariant& value)
{
    if (SqliteBind(m_stmt, index, value) != SQLITE_OK)
        m_error = SqliteMessage(m_db);
}

void SqliteCursor::bindAll(const std::vector<QVariant>& values)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    for (size_t i = 0; i < values.size(); ++i)
        bind(static_cast<int>(i) + 1, values[i]);
}

bool SqliteCursor::next()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_error = SqliteMessage(m_db);
    return false;
}

bool SqliteCursor::exec()
{
    sqlite3_reset(m_stmt);
    m_error.clear();
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        m_error = SqliteMessage(m_db);
        return false;
    }
    return true;
}

void SqliteCursor::reset()
{
    sqlite3_reset(m_stmt);
    m_error.clear();
}

bool SqliteCursor::hasColumn(int column) const
{
    return column >= 0 && column < sqlite3_column_count(m_stmt);
}

int SqliteCursor::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString SqliteCursor::columnName(int column) const
{
    const char* name = sqlite3_column_name(m_stmt, column);
    return name ? QString::fromUtf8(name) : QString();
}

bool SqliteCursor::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString SqliteCursor::text(int column) const
{
    if (!hasColumn(column))
        return QString();
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_stmt, column));
    case SQLITE_TEXT:
    case SQLITE_FLOAT: // SQLite's own text of a real, as DbValue keeps it
        // Read straight from the engine: walking a big table reads this once per cell.
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    default:
        return value(column).asText();
    }
}

QByteArrayView SqliteCursor::utf8(int column) const
{
    if (!hasColumn(column) || sqlite3_column_type(m_stmt, column) == SQLITE_BLOB)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

// Numbers are read straight from the engine; only text goes through DbValue's rules. (value() would also
// have the engine print every real as text, which costs more than the rest of a row.)
qint64 SqliteCursor::integer(int column) const
{
    if (hasColumn(column)) {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER: return sqlite3_column_int64(m_stmt, column);
        case SQLITE_NULL: return 0;
        default: break;
        }
    }
    return value(column).asInteger();
}

double SqliteCursor::real(int column) const
{
    if (hasColumn(column)) {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_FLOAT: return sqlite3_column_double(m_stmt, column);
        case SQLITE_INTEGER: return double(sqlite3_column_int64(m_stmt, column));
        case SQLITE_NULL: return 0;
        default: break;
        }
    }
    return value(column).asDouble();
}

DbValue SqliteCursor::value(int column) const
{
    return hasColumn(column) ? SqliteColumnValue(m_stmt, column) : DbValue();
}

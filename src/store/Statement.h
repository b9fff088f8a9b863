#pragma once

#include "store/Cursor.h"
#include "store/DbValue.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// A prepared statement for code that walks many rows or repeats one statement; values are bound, never
// pasted into the SQL text. It owns the engine's cursor; one that could not be prepared is not valid, and then
// runs nothing and reads nothing.
class Statement
{
public:
    Statement() = default;

    bool isValid() const { return m_cursor != nullptr; }
    void bind(int index, const QVariant& value) // 1-based
    {
        if (m_cursor)
            m_cursor->bind(index, value);
    }
    void bindAll(const std::vector<QVariant>& values)
    {
        if (m_cursor)
            m_cursor->bindAll(values);
    }
    // Steps once: true while a row is available. On an error returns false and sets error(); the error is not
    // handed to the database's reporter, the caller decides what to show.
    bool next() { return m_cursor && m_cursor->next(); }
    bool exec() { return m_cursor && m_cursor->exec(); } // resets, then runs to the end; false on error (see error())
    void reset()
    {
        if (m_cursor)
            m_cursor->reset();
    }
    QString error() const { return m_cursor ? m_cursor->error() : QString(); }

    int columnCount() const { return m_cursor ? m_cursor->columnCount() : 0; }
    QString columnName(int column) const { return m_cursor ? m_cursor->columnName(column) : QString(); }
    bool isNull(int column) const { return !m_cursor || m_cursor->isNull(column); }
    QString text(int column) const { return m_cursor ? m_cursor->text(column) : QString(); }
    // The cell as the engine's UTF-8 text, valid until the next step: the same text as text() gives, read
    // without building a string (for code that compares many cells with texts it has seen).
    QByteArrayView utf8(int column) const { return m_cursor ? m_cursor->utf8(column) : QByteArrayView(); }
    qint64 integer(int column) const { return m_cursor ? m_cursor->integer(column) : 0; }
    double real(int column) const { return m_cursor ? m_cursor->real(column) : 0.0; }
    DbValue value(int column) const { return m_cursor ? m_cursor->value(column) : DbValue(); }

private:
    friend class Database;
    explicit Statement(std::unique_ptr<Cursor> cursor) : m_cursor(std::move(cursor)) {}

    std::unique_ptr<Cursor> m_cursor;
};

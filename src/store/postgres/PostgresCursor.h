#pragma once

#include "store/Cursor.h"

#include <QByteArray>
#include <functional>

struct pg_conn;
struct pg_result;

// A statement on the server, walked row by row: rows arrive one at a time (libpq's single-row mode), so a
// long listing never holds the whole result. Its columns are known before the first row, as a prepared SQLite
// statement's are: asked for them then, it has the server describe the statement without running it.
class PostgresCursor final : public Cursor
{
public:
    PostgresCursor(pg_conn* conn, QByteArray sql, int parameterCount, std::function<bool()> cancelled);
    ~PostgresCursor() override;
    PostgresCursor(const PostgresCursor&) = delete;
    PostgresCursor& operator=(const PostgresCursor&) = delete;

    void bind(int index, const QVariant& value) override;
    void bindAll(const std::vector<QVariant>& values) override;
    bool next() override;
    bool exec() override;
    void reset() override;
    QString error() const override { return m_error; }

    int columnCount() const override;
    QString columnName(int column) const override;
    bool isNull(int column) const override;
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    qint64 integer(int column) const override;
    double real(int column) const override;
    DbValue value(int column) const override;

private:
    bool start();
    void finish();
    bool hasCell(int column) const;
    // The result that names the columns: the row read, the first row's once the rows are done, or before any row
    // the server's description of the statement.
    const pg_result* shape() const;

    pg_conn* m_conn;
    QByteArray m_sql;
    std::vector<QVariant> m_values;
    std::function<bool()> m_cancelled;
    pg_result* m_row = nullptr;
    // The first row's result, or the statement's description when the columns were asked for before it; kept for
    // the column names once the rows are done.
    mutable pg_result* m_shape = nullptr;
    bool m_running = false;
    mutable QString m_error;
};

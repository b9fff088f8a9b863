#pragma once

#include "store/Cursor.h"

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement on data.db, finalized with the cursor.
class SqliteCursor final : public Cursor
{
public:
    SqliteCursor(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
    ~SqliteCursor() override;
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;

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
    bool hasColumn(int column) const;

    sqlite3* m_db;
    sqlite3_stmt* m_stmt;
    QString m_error;
};

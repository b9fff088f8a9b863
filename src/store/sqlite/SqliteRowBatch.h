#pragma once

#include "store/Cursor.h"
#include "store/RowBatch.h"

#include <memory>

// Rows into data.db one prepared insert at a time: each is stored, or fails, on its own, and none waits.
class SqliteRowBatch final : public RowBatch
{
public:
    explicit SqliteRowBatch(std::unique_ptr<Cursor> insert) : m_insert(std::move(insert)) {}

    bool add(const std::vector<QVariant>& values, QString* refusal) override;
    int waiting() const override { return 0; }
    bool full() const override { return false; }
    bool send(QString*) override { return true; }

private:
    std::unique_ptr<Cursor> m_insert;
};

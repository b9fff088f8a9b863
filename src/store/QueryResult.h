#pragma once

#include "store/DbValue.h"

#include <QString>
#include <vector>

// Rows of a finished query, read by column name.
class QueryResult
{
public:
    bool ok = true;
    QString error;
    std::vector<QString> columns;
    std::vector<std::vector<DbValue>> rows;

    int columnIndex(const QString& name) const; // -1 when absent
    const DbValue& value(size_t row, const QString& column) const;
    QString text(size_t row, const QString& column) const { return value(row, column).asText(); }
    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }
};

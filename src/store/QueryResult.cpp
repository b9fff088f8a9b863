#include "store/QueryResult.h"

int QueryResult::columnIndex(const QString& name) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == name)
            return static_cast<int>(i);
    }
    // Column names in SQL are not case-sensitive.
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const DbValue& QueryResult::value(size_t row, const QString& column) const
{
    static const DbValue kNull;
    const int index = columnIndex(column);
    if (index < 0 || row >= rows.size() || static_cast<size_t>(index) >= rows[row].size())
        return kNull;
    return rows[row][static_cast<size_t>(index)];
}

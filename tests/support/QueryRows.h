#pragma once

#include "store/Database.h"

#include <QStringList>

// The rows a query returns, each as its cells' texts joined with '|': what a test compares stored data with.
inline QStringList QueryRows(Database& db, const QString& sql, const std::vector<QVariant>& params = {})
{
    const QueryResult result = db.Query(sql, params);
    QStringList out;
    for (const std::vector<DbValue>& row : result.rows) {
        QStringList fields;
        for (const DbValue& value : row)
            fields << value.asText();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

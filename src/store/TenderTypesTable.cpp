#include "store/TenderTypesTable.h"

std::optional<std::vector<TenderType>> TenderTypesTable::all()
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT code, name, enabled, built_in, "
                       "CASE WHEN EXISTS (SELECT 1 FROM tenders WHERE tenders.tender_type = tender_types.code) "
                       "THEN 1 ELSE 0 END AS used FROM tender_types ORDER BY position, code;"));
    if (!found.ok)
        return std::nullopt;
    std::vector<TenderType> types;
    for (size_t i = 0; i < found.size(); ++i)
        types.push_back({found.text(i, QStringLiteral("code")), found.text(i, QStringLiteral("name")),
                         found.value(i, QStringLiteral("enabled")).asInteger() != 0,
                         found.value(i, QStringLiteral("built_in")).asInteger() != 0,
                         found.value(i, QStringLiteral("used")).asInteger() != 0});
    return types;
}

bool TenderTypesTable::add(const QString& name)
{
    return m_db.ExecuteDirect(QStringLiteral("INSERT INTO tender_types (code, name, enabled, built_in, position) "
                                             "SELECT ?, ?, 1, 0, coalesce(max(position), 0) + 1 FROM tender_types;"),
                              {name, name});
}

bool TenderTypesTable::setEnabled(const QString& code, bool enabled)
{
    return m_db.ExecuteDirect(QStringLiteral("UPDATE tender_types SET enabled = ? WHERE code = ?;"),
                              {enabled ? 1 : 0, code});
}

bool TenderTypesTable::remove(const QString& code)
{
    return m_db.ExecuteDirect(QStringLiteral("DELETE FROM tender_types WHERE code = ? AND built_in = 0;"), {code});
}

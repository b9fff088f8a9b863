#include "store/TableRows.h"

qint64 TableRows::count()
{
    Statement count = m_db.prepare(QStringLiteral("SELECT count(*) FROM %1;").arg(m_table));
    return count.isValid() && count.next() ? count.integer(0) : -1;
}

Statement TableRows::all()
{
    return m_db.prepare(QStringLiteral("SELECT * FROM %1 order by id;").arg(m_table));
}

bool TableRows::remove(qint64 id)
{
    return m_db.ExecuteDirect(QStringLiteral("DELETE FROM %1 where id = ?;").arg(m_table), {id});
}

bool TableRows::removeAll()
{
    return m_db.ExecuteDirect(QStringLiteral("DELETE FROM %1;").arg(m_table));
}

QString Placeholders(size_t n)
{
    QString text;
    for (size_t i = 0; i < n; ++i)
        text += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    return text;
}

QStringList FirstColumnTexts(Database& db, const QString& sql)
{
    const QueryResult rows = db.Query(sql);
    QStringList texts;
    texts.reserve(qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        texts << rows.rows[i].front().asText();
    return texts;
}

QVariant IntegerOrNull(const std::optional<qint64>& value)
{
    return value ? QVariant(*value) : QVariant();
}

std::optional<qint64> OptionalInteger(const DbValue& value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.asInteger());
}

std::optional<std::vector<RecordLine>> LinesOfRecord(Database& db, const char* table, const QString& saleId)
{
    const QueryResult found = db.Query(
        QStringLiteral("SELECT barkod, urunadi, fiyat, adet FROM %1 WHERE sale_id = ? ORDER BY id;")
            .arg(QLatin1String(table)),
        {saleId});
    if (!found.ok)
        return std::nullopt;
    std::vector<RecordLine> lines;
    for (const auto& row : found.rows)
        lines.push_back({row[0].asText(), row[1].asText(), row[2], row[3]});
    return lines;
}

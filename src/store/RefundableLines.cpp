#include "store/RefundableLines.h"

#include "store/Database.h"

std::optional<std::vector<SoldLine>> SoldLinesOfRecord(Database& db, const char* table, const QString& saleId)
{
    const QueryResult found = db.Query(
        QStringLiteral("SELECT l.id, l.barkod, l.urunadi, l.fiyat, l.adet,"
                       " (SELECT coalesce(-sum(r.adet), 0) FROM %1 r WHERE r.refund_of = l.id) AS refunded"
                       " FROM %1 l WHERE l.sale_id = ? ORDER BY l.id;")
            .arg(QLatin1String(table)),
        {saleId});
    if (!found.ok)
        return std::nullopt;
    std::vector<SoldLine> lines;
    lines.reserve(found.size());
    for (const auto& row : found.rows)
        lines.push_back({row[0].asInteger(), row[1].asText(), row[2].asText(), row[3], row[4].asInteger(),
                         row[5].asInteger()});
    return lines;
}

#include "store/SessionTakingsTable.h"

#include <QHash>
#include <algorithm>

std::optional<SessionTakings> SessionTakingsTable::of(const QString& sessionId)
{
    const QueryResult records = m_db.Query(
        QStringLiteral("SELECT kind, count(*) AS n, CAST(coalesce(sum(total_cents), 0) AS bigint) AS total, "
                       "CAST(coalesce(sum(discount_cents), 0) AS bigint) AS discount FROM sale_records WHERE session_id = ? "
                       "GROUP BY kind;"),
        {sessionId});
    if (!records.ok)
        return std::nullopt;
    const QueryResult tenders = m_db.Query(
        QStringLiteral("SELECT r.kind, t.tender_type, count(*) AS n, CAST(sum(t.amount_cents) AS bigint) AS amount, "
                       "CAST(sum(coalesce(t.handed_cents, t.amount_cents + coalesce(t.change_cents, 0))) AS bigint) AS handed, "
                       "CAST(sum(coalesce(t.change_cents, 0)) AS bigint) AS change_given "
                       "FROM sale_records r JOIN tenders t ON t.sale_id = r.sale_id WHERE r.session_id = ? "
                       "GROUP BY r.kind, t.tender_type;"),
        {sessionId});
    if (!tenders.ok)
        return std::nullopt;
    // The few groups in the payment types' order (a type no longer listed last, by its code).
    const QueryResult types = m_db.Query(QStringLiteral("SELECT code FROM tender_types ORDER BY position, code;"));
    if (!types.ok)
        return std::nullopt;
    const QueryResult movements = m_db.Query(
        QStringLiteral("SELECT kind, count(*) AS n, CAST(coalesce(sum(amount_cents), 0) AS bigint) AS amount FROM cash_movements "
                       "WHERE session_id = ? GROUP BY kind;"),
        {sessionId});
    if (!movements.ok)
        return std::nullopt;

    SessionTakings takings;
    for (size_t i = 0; i < records.size(); ++i)
        takings.records.push_back({records.text(i, QStringLiteral("kind")),
                                   records.value(i, QStringLiteral("n")).asInteger(),
                                   records.value(i, QStringLiteral("total")).asInteger(),
                                   records.value(i, QStringLiteral("discount")).asInteger()});
    for (size_t i = 0; i < tenders.size(); ++i)
        takings.tenders.push_back({tenders.text(i, QStringLiteral("kind")), tenders.text(i, QStringLiteral("tender_type")),
                                   tenders.value(i, QStringLiteral("n")).asInteger(),
                                   tenders.value(i, QStringLiteral("amount")).asInteger(),
                                   tenders.value(i, QStringLiteral("handed")).asInteger(),
                                   tenders.value(i, QStringLiteral("change_given")).asInteger()});
    QHash<QString, qsizetype> order;
    for (size_t i = 0; i < types.size(); ++i)
        order.insert(types.rows[i][0].asText(), qsizetype(i));
    std::stable_sort(takings.tenders.begin(), takings.tenders.end(),
                     [&order](const SessionTakings::Tenders& a, const SessionTakings::Tenders& b) {
                         return std::pair(order.value(a.tenderType, order.size()), a.tenderType)
                                < std::pair(order.value(b.tenderType, order.size()), b.tenderType);
                     });
    for (size_t i = 0; i < movements.size(); ++i)
        takings.movements.push_back({movements.text(i, QStringLiteral("kind")),
                                     movements.value(i, QStringLiteral("n")).asInteger(),
                                     movements.value(i, QStringLiteral("amount")).asInteger()});
    return takings;
}

#include "store/TillSessionsTable.h"

namespace {

const QString kSessionColumns = QStringLiteral("session_id, till, sequence, opened_at, float_cents");

TillSessionRow SessionOf(const QueryResult& found, size_t row)
{
    return {found.text(row, QStringLiteral("session_id")), found.text(row, QStringLiteral("till")),
            found.value(row, QStringLiteral("sequence")).asInteger(), found.text(row, QStringLiteral("opened_at")),
            found.value(row, QStringLiteral("float_cents")).asInteger()};
}

} // namespace

bool TillSessionsTable::insert(const TillSessionRow& session)
{
    return m_db.ExecuteDirect(QStringLiteral("INSERT INTO till_sessions (%1) VALUES (?,?,?,?,?);").arg(kSessionColumns),
                              {session.sessionId, session.till, session.sequence, session.openedAt,
                               session.floatCents});
}

std::optional<TillSessionRow> TillSessionsTable::withSessionId(const QString& sessionId)
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT %1 FROM till_sessions WHERE session_id = ?;").arg(kSessionColumns), {sessionId});
    if (found.empty())
        return std::nullopt;
    return SessionOf(found, 0);
}

std::optional<TillSessionsTable::Newest> TillSessionsTable::newestOf(const QString& till)
{
    // The lock is taken first and the Z looked for by a statement of its own: on a server that statement sees a
    // close that committed while this one waited for the lock.
    const QueryResult found =
        m_db.Query(QStringLiteral("SELECT %1 FROM till_sessions WHERE till = ? ORDER BY sequence DESC LIMIT 1%2;")
                       .arg(kSessionColumns, m_db.lockForUpdateSql()),
                   {till});
    if (!found.ok)
        return std::nullopt;
    Newest newest;
    if (found.empty())
        return newest;
    newest.session = SessionOf(found, 0);
    const QueryResult closed = m_db.Query(QStringLiteral("SELECT 1 FROM z_reports WHERE session_id = ?;"),
                                          {newest.session->sessionId});
    if (!closed.ok)
        return std::nullopt;
    newest.open = closed.empty();
    return newest;
}

std::optional<QStringList> TillSessionsTable::tillsOpenSince(const QString& before)
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT till FROM till_sessions s WHERE opened_at < ? AND NOT EXISTS (SELECT 1 FROM z_reports z "
                       "WHERE z.session_id = s.session_id) ORDER BY till;"),
        {before});
    if (!found.ok)
        return std::nullopt;
    QStringList tills;
    for (const auto& row : found.rows)
        tills << row[0].asText();
    return tills;
}

#pragma once

#include "store/Database.h"

#include <QString>
#include <QStringList>
#include <optional>

// One row of till_sessions: a session of a till, open while it has no Z report.
struct TillSessionRow
{
    QString sessionId;  // the session's UUID
    QString till;
    qint64 sequence = 0; // 1, 2, ... on its till
    QString openedAt;    // the till's "yyyy-MM-dd HH:mm:ss"
    qint64 floatCents = 0;

    friend bool operator==(const TillSessionRow&, const TillSessionRow&) = default;
};

// Every statement on till_sessions. Sessions are only ever added, and the database refuses a till's next session
// while its last one has no Z report. Failures are reported by the database's error reporter.
class TillSessionsTable
{
public:
    explicit TillSessionsTable(Database& db) : m_db(db) {}

    // False when refused (reported): an open session of the till, a sequence taken.
    bool insert(const TillSessionRow& session);
    // The session of the id; nothing when there is none or the lookup failed (reported).
    std::optional<TillSessionRow> withSessionId(const QString& sessionId);
    // The till's newest session, with whether it is open; none when the till has none. Locked (on a server) until
    // the transaction ends: a close and a record of the same session take turns. Nothing when the lookup failed
    // (reported).
    struct Newest
    {
        std::optional<TillSessionRow> session;
        bool open = false;
    };
    std::optional<Newest> newestOf(const QString& till);
    // The tills with a session open that was opened before the time given (compared as text with opened_at), in
    // order; nothing when the lookup failed (reported).
    std::optional<QStringList> tillsOpenSince(const QString& before);

private:
    Database& m_db;
};

#pragma once

#include "store/Connection.h"

#include <QByteArray>
#include <QHash>
#include <QString>

struct pg_conn;

// One connection to a PostgreSQL server. Failures come back as the server's message.
class PostgresConnection final : public Connection
{
public:
    // Connects with a time-out of a few seconds unless the URL names its own; nothing on failure. A connection
    // that silently stops carrying anything (a cable pulled, a switch gone) fails within about ten seconds, not
    // the minutes TCP would wait: the server is asked whether it is still there while an answer is awaited, and
    // what was sent may stay unacknowledged only so long. The limits hold for every session of the connection.
    static std::unique_ptr<PostgresConnection> connect(const QString& url, QString* error,
                                                       StatementLimits limits = {});
    ~PostgresConnection() override;
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    bool isConnected() const override;
    bool reconnect(QString* error) override;
    // Connected, with no transaction open and no statement running, and the server has said nothing since the
    // last answer (an idle server speaks only to end the session): the connection can serve a new task as it is.
    bool isWorthKeeping() const override;
    // The check is asked while the answer is awaited; once it says so, the server is asked to stop the statement
    // (from this thread).
    void setCancelCheck(std::function<bool()> cancelled) override { m_cancelled = std::move(cancelled); }

    bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result, QString* error) override;
    std::unique_ptr<Cursor> prepare(const QString& sql, QString* error) override;
    qint64 lastInsertId() override;

    bool canWrite(QString*) const override { return true; }
    bool inTransaction() const override;
    bool transactionFailed() const override;
    bool canCommit() const override;
    void rollback() override;

    // Creates the program's tables on an empty database; on one that has them adds the columns older ones lack.
    // Runs only when the schema is not yet recorded as made by this program's script.
    QStringList migrate(const QString& tillName) override;
    // Rows go to the server in COPY's text format, thousands in one round trip.
    std::unique_ptr<RowBatch> rowBatch(const QString& table, const std::vector<BatchColumn>& columns,
                                       QString* error) override;
    // The server's own tools back it up (see ServerBackup.h).

    // Runs a "COPY … FROM STDIN" statement with rows in COPY's text format; all rows are stored or none.
    bool copyIn(const QString& copyStatement, const QByteArray& rows, QString* error);
    // Forgets which script made the schema, so the next migrate() runs the script (before tables are replaced
    // with ones that may be older).
    void forgetSchemaVersion();

private:
    PostgresConnection(pg_conn* conn, StatementLimits limits) : m_conn(conn), m_limits(limits) {}
    // What every session of the connection starts with: the messages it sends, its limits.
    bool configureSession(QString* error);
    // run(), stopped by the given check instead of the connection's.
    bool runWith(const QString& sql, const std::vector<QVariant>& params, QueryResult* result, QString* error,
                 const std::function<bool()>& cancelled);

    // A statement with bound values, prepared on the server under a name of its own.
    struct Prepared
    {
        QByteArray name;
        int parameters = 0;
    };
    // The statement prepared for the text, preparing it the first time; nothing (and the reason) on failure.
    const Prepared* prepared(const QString& sql, int valueCount, QString* error);

    pg_conn* m_conn;
    StatementLimits m_limits;
    std::function<bool()> m_cancelled;
    // Statements with bound values are prepared once and kept by their text, as data.db's are: the till repeats
    // the same few lookups, and the server then parses and plans each only once. The server forgets them when
    // the session ends.
    QHash<QString, Prepared> m_prepared;
    quint64 m_preparedCount = 0; // names are never used twice in a session
};

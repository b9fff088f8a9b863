#pragma once

#include "store/Database.h"
#include "store/ServerUrl.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

// Connects to the server once and lets go again: false, with the server's answer, when it cannot be reached.
bool CanConnectToServer(const QString& url, QString* reason);

// The statement text as PostgreSQL takes it: "?NNN" becomes "$NNN" and a bare "?" the next number after the
// largest so far, as SQLite numbers them; quoted text is left alone. count receives the number of parameters.
QByteArray PostgresStatementText(const QString& sql, int* count = nullptr);

// A statement on the server, walked row by row: rows arrive one at a time (libpq's single-row mode), so a
// long listing never holds the whole result. Its columns are known before the first row, as a prepared SQLite
// statement's are: asked for them then, it has the server describe the statement without running it.
class PostgresCursor
{
public:
    PostgresCursor(pg_conn* conn, QByteArray sql, int parameterCount, std::function<bool()> cancelled);
    ~PostgresCursor();
    PostgresCursor(const PostgresCursor&) = delete;
    PostgresCursor& operator=(const PostgresCursor&) = delete;

    void bind(int index, const QVariant& value); // 1-based
    void clearBindings();
    bool next();
    bool exec();
    void reset();
    QString error() const { return m_error; }

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    QByteArrayView utf8(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    DbValue value(int column) const;

private:
    bool start();
    void finish();
    bool hasCell(int column) const;
    // The result that names the columns: the row read, the first row's once the rows are done, or before any row
    // the server's description of the statement.
    const pg_result* shape() const;

    pg_conn* m_conn;
    QByteArray m_sql;
    std::vector<QVariant> m_values;
    std::function<bool()> m_cancelled;
    pg_result* m_row = nullptr;
    // The first row's result, or the statement's description when the columns were asked for before it; kept for
    // the column names once the rows are done.
    mutable pg_result* m_shape = nullptr;
    bool m_running = false;
    mutable QString m_error;
};

// One connection to a PostgreSQL server. Failures come back as the server's message.
class PostgresConnection
{
public:
    // Connects with a time-out of a few seconds unless the URL names its own; nothing on failure. A connection
    // that silently stops carrying anything (a cable pulled, a switch gone) fails within about ten seconds, not
    // the minutes TCP would wait: the server is asked whether it is still there while an answer is awaited, and
    // what was sent may stay unacknowledged only so long. The limits hold for every session of the connection.
    static std::unique_ptr<PostgresConnection> connect(const QString& url, QString* error,
                                                       StatementLimits limits = {});
    ~PostgresConnection();
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    // False once the connection to the server has been lost.
    bool isConnected() const;
    // Connected, with no transaction open and no statement running, and the server has said nothing since the
    // last answer (an idle server speaks only to end the session): the connection can serve a new task as it is.
    bool isIdle() const;
    // Tries to connect again after the connection was lost.
    bool reconnect(QString* error);

    // Runs the text (several statements when there are no values); the rows of the last statement that
    // returns columns go to result. With a cancel check, a statement stops with an "interrupted" error soon after
    // the check says so (the server is asked to stop it, from this thread, while it waits for the answer); so
    // does a cursor's.
    bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result, QString* error,
             const std::function<bool()>& cancelled = {});
    std::unique_ptr<PostgresCursor> prepare(const QString& sql, std::function<bool()> cancelled, QString* error);
    // Runs a "COPY … FROM STDIN" statement with rows in COPY's text format; all rows are stored or none.
    bool copyIn(const QString& copyStatement, const QByteArray& rows, QString* error,
                const std::function<bool()>& cancelled = {});
    bool inTransaction() const;
    // A statement of the open transaction failed: the server refuses the rest and would end it without storing.
    bool transactionFailed() const;
    qint64 lastInsertId();

    // Creates the program's tables on an empty database; on one that has them adds the columns older ones lack.
    // Runs only when the schema is not yet recorded as made by this program's script.
    bool createOrMigrateSchema(QString* error);
    // Forgets which script made the schema, so the next createOrMigrateSchema runs the script (before tables
    // are replaced with ones that may be older).
    void forgetSchemaVersion();

private:
    PostgresConnection(pg_conn* conn, StatementLimits limits) : m_conn(conn), m_limits(limits) {}
    // What every session of the connection starts with: the messages it sends, its limits.
    bool configureSession(QString* error);

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
    // Statements with bound values are prepared once and kept by their text, as data.db's are: the till repeats
    // the same few lookups, and the server then parses and plans each only once. The server forgets them when
    // the session ends.
    QHash<QString, Prepared> m_prepared;
    quint64 m_preparedCount = 0; // names are never used twice in a session
};

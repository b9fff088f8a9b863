#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class PostgresConnection;
class PostgresCursor;

// One value read from a result row. Text follows the program's rules: an integer gives its digits, a real its
// decimal form with a point, NULL the empty text. As a number, NULL reads 0 and text is read with a point.
class DbValue
{
public:
    DbValue() = default;
    explicit DbValue(QVariant value) : m_value(std::move(value)) {}
    // A real value together with the engine's own text for it, so reading it as text gives what SQLite prints.
    DbValue(double real, QString engineText) : m_value(real), m_realText(std::move(engineText)) {}
    QString asText() const;
    qint64 asInteger() const;
    double asDouble() const;
    bool isNull() const { return m_value.isNull(); }
    const QVariant& raw() const { return m_value; }

private:
    QVariant m_value;
    QString m_realText;
};

// Rows of a finished query, read by column name.
class QueryResult
{
public:
    bool ok = true;
    QString error;
    std::vector<QString> columns;
    std::vector<std::vector<DbValue>> rows;

    int columnIndex(const QString& name) const; // -1 when absent
    const DbValue& value(size_t row, const QString& column) const;
    QString text(size_t row, const QString& column) const { return value(row, column).asText(); }
    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }
};

// A prepared statement for code that walks many rows or repeats one statement; values are bound, never
// pasted into the SQL text.
class Statement
{
public:
    Statement();
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_stmt != nullptr || m_pg != nullptr; }
    void bind(int index, const QVariant& value); // 1-based
    void bindAll(const std::vector<QVariant>& values);
    // Steps once: true while a row is available. On an error returns false and sets error(); the error is not
    // handed to the database's reporter, the caller decides what to show.
    bool next();
    bool exec(); // resets, then runs to the end; false on error (see error())
    void reset();
    QString error() const { return m_error; }

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    // The cell as the engine's UTF-8 text, valid until the next step: the same text as text() gives, read
    // without building a string (for code that compares many cells with texts it has seen).
    QByteArrayView utf8(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    DbValue value(int column) const;

private:
    friend class Database;
    Statement(sqlite3* db, sqlite3_stmt* stmt);
    explicit Statement(std::unique_ptr<PostgresCursor> cursor);
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    std::unique_ptr<PostgresCursor> m_pg; // a statement on a database server instead
    QString m_error;
};

// How long a statement on a server may run, and wait for a lock another connection holds, in seconds; 0 leaves
// the server's own setting. A statement past a limit fails as any failed statement does.
struct StatementLimits
{
    int statementSeconds = 0;
    int lockSeconds = 0;
};

// The one connection to data.db, or to the shop's database on a PostgreSQL server (SQLConnection1). Every failure of Query/ExecuteDirect is handed to the error
// reporter ("Exception raised with message: " + the engine's message is what the windows show) and the caller
// goes on with what it has: a failed query has no rows, a failed statement is not done.
class Database
{
public:
    using ErrorReporter = std::function<void(const QString& engineMessage)>;

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void setErrorReporter(ErrorReporter reporter) { m_reporter = std::move(reporter); }
    // A server that cannot be reached (not there when connecting, or gone under a statement) is reported apart
    // from a failed statement: with the server's URL as it may be shown (no password) and libpq's words. Without
    // this reporter the error reporter gets libpq's words.
    using UnreachableReporter = std::function<void(const QString& server, const QString& reason)>;
    void setUnreachableReporter(UnreachableReporter reporter) { m_unreachableReporter = std::move(reporter); }
    // Limits for the statements on a server (none by default: work on a worker keeps Cancel instead); set before
    // open(), they hold for every later session of the connection.
    void setStatementLimits(StatementLimits limits) { m_limits = limits; }
    // For work the user can cancel: a running statement stops with an "interrupted" error soon after the check
    // says so, so a long aggregate need not run to its end. data.db asks every few thousand of its steps; on a
    // server the check is asked while the answer is awaited, and the server is then asked to stop the statement.
    void setCancelCheck(std::function<bool()> cancelled);

    // Opens an existing file for reading and writing; a missing file is not created. A libpq connection URI
    // ("postgresql://till@shop-server/quenvale") connects to that server instead. Reports and returns false on
    // failure.
    bool open(const QString& path);
    // Opens the server's URL on a connection to it that is open already (see releaseServerConnection).
    void open(const QString& url, std::unique_ptr<PostgresConnection> connection);
    void close();
    // Closes the database and hands over its server connection when that is idle (see
    // PostgresConnection::isIdle), for the next task on the same database; nothing otherwise.
    std::unique_ptr<PostgresConnection> releaseServerConnection();
    bool isOpen() const { return m_db != nullptr || m_pg != nullptr; }
    // The file, or the server's URL; a second connection opens the same database with it.
    QString path() const { return m_path; }
    bool isOnServer() const;
    // The till whose sales and credit lines this connection writes (kept with them on a server, and with every
    // sale record).
    void setTillName(const QString& name) { m_tillName = name; }
    QString tillName() const { return m_tillName; }

    // The till's own clock. Every row the program stamps (a sale line, a credit line and its payment, a new
    // product or customer) gets this time as a bound value, on both engines, so a server's clock and time zone
    // play no part and the history, charts and day reports agree with the till. Without one: this computer's
    // local time.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The clock's time as the stored "yyyy-MM-dd HH:mm:ss" text.
    QString localNow() const;

    // The few statement pieces that differ between the engines.
    // LIKE that ignores the case of ASCII letters, as SQLite's does.
    QString caseInsensitiveLikeSql() const;
    // A column that is neither grouped nor aggregated: SQLite takes it from one of the group's rows, a server
    // wants it aggregated.
    QString anyValueSql(const QString& column) const;
    // Appended to a SELECT whose rows the transaction is about to update: a server locks them until the commit
    // (SQLite's transaction holds the whole file already).
    QString lockForUpdateSql() const;

    // Values are bound to the ? placeholders in order; text that takes values must hold a single statement.
    // Without values the text may hold several statements, run in order up to the first failure.
    QueryResult Query(const QString& sql, const std::vector<QVariant>& params = {});
    bool ExecuteDirect(const QString& sql, const std::vector<QVariant>& params = {});
    // Refused (reported) on a connection that can only read: every write of the series would fail.
    // On a server a failure inside the transaction rolls it back before it is reported, so that no row it locked
    // stays locked while the message waits for the cashier; the statements after it are refused without a
    // message, and the commit fails.
    bool BeginTransaction();
    // A commit that fails is reported and the transaction rolled back, so later statements do not pile up in
    // a transaction that is never committed.
    bool Commit();
    // Ends an open transaction without keeping its changes; nothing is reported.
    void Rollback();
    // Asked inside a transaction: true when it can store nothing more and the series should stop at the failure
    // already reported. A server refuses every statement after a failed one (and a lost connection ends it);
    // data.db goes on after a failed statement unless the engine had to roll the transaction back itself.
    bool transactionFailed() const;

    // On a server: runs a "COPY … FROM STDIN" statement with rows in COPY's text format, all stored or none;
    // a failure is reported. False on data.db, which has no COPY.
    bool copyIn(const QString& copyStatement, const QByteArray& rows);

    // Prepares a statement; an invalid statement has been reported already.
    Statement prepare(const QString& sql);
    qint64 lastInsertRowId() const;

    // Adds the columns that older databases lack (urunler.stok, veresiyeler.odemetarihi, odemeler.fisno) and the
    // takings records (MigrateTakings). On a server an empty database first gets the program's tables.
    void Migrate();

    // Writes a consistent copy of the open database to a file through SQLite's online backup, into a
    // temporary file beside the target that is then renamed over it. The connection stays open and nothing
    // is reported; a failure leaves the target as it was and says why in error.
    // With a step function the copy goes a piece at a time and reports pages done out of the total after each;
    // when the function returns false the copy stops and the target stays as it was ("Cancelled").
    using BackupSteps = std::function<bool(int pagesDone, int pagesTotal)>;
    bool BackupTo(const QString& targetPath, QString* error = nullptr, const BackupSteps& onStep = {});

    // Hands a failure found outside Query/ExecuteDirect (a walked Statement's error) to the error reporter.
    void reportError(const QString& engineMessage) { report(engineMessage); }

    // The raw handle, for the store's own helpers only.
    sqlite3* handle() const { return m_db; }

private:
    void report(const QString& message);
    // Reports a failure: to the unreachable reporter when the server could not be reached, else as it is.
    void reportFailure(const QString& message);
    bool openHandle(const QString& path, QString* error);
    // After a failed open each statement tries the stored path again; false (reported) when still closed.
    bool ensureOpen(QString* error = nullptr);
    // Runs every statement of the text; rows of the last statement that returns columns go to result.
    bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result);
    // Prepared statements with bound values, kept by their SQL text until the connection closes.
    sqlite3_stmt* cachedStatement(const QByteArray& sql, QString* error);
    void clearStatementCache();

    sqlite3* m_db = nullptr;
    std::unique_ptr<PostgresConnection> m_pg;
    QString m_path;
    QString m_tillName;
    bool m_serverTransaction = false; // a transaction was begun on the server and not yet ended
    bool m_serverTransactionFailed = false; // ... and a failure in it ended it on the server already
    StatementLimits m_limits;
    // Rolls back a server transaction a failure has ended, before the failure is shown.
    void endFailedServerTransaction();
    void installCancelCheck();

    ErrorReporter m_reporter;
    UnreachableReporter m_unreachableReporter;
    std::function<bool()> m_cancelled;
    std::function<QDateTime()> m_clock;
    std::map<QByteArray, sqlite3_stmt*> m_statementCache;
};

// True when the file starts with the SQLite header and opens as a database whose schema can be read.
bool IsSqliteDatabaseFile(const QString& path);

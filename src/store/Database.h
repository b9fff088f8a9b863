#pragma once

#include "store/Connection.h"
#include "store/DbValue.h"
#include "store/QueryResult.h"
#include "store/RowBatch.h"
#include "store/Statement.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class DatabaseEngine;

// The one connection to data.db, or to the shop's database on a PostgreSQL server (SQLConnection1). The engine
// the path names (see DatabaseEngine) does the work behind it; what every engine shares is here: reporting,
// the transaction's bookkeeping, the cancel check, the till's clock and name. Every failure of
// Query/ExecuteDirect is handed to the error reporter ("Exception raised with message: " + the engine's message
// is what the windows show) and the caller goes on with what it has: a failed query has no rows, a failed
// statement is not done.
class Database
{
public:
    using ErrorReporter = std::function<void(const QString& engineMessage)>;

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void setErrorReporter(ErrorReporter reporter) { m_reporter = std::move(reporter); }
    // A database that cannot be reached (a server not there when connecting, or gone under a statement) is
    // reported apart from a failed statement: with its location as it may be shown (a server's URL without the
    // password) and the engine's words. Without this reporter the error reporter gets the engine's words.
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
    // Opens the path on a connection to it that is open already (see releaseIdleConnection).
    void open(const QString& path, std::unique_ptr<Connection> connection);
    void close();
    // Closes the database and hands over its connection when that is worth keeping (costly to open, and idle:
    // see Connection::isWorthKeeping), for the next task on the same database; nothing otherwise.
    std::unique_ptr<Connection> releaseIdleConnection();
    bool isOpen() const { return m_connection != nullptr; }
    // The file, or the server's URL; a second connection opens the same database with it.
    QString path() const { return m_path; }
    // The engine of the path's database (see DatabaseEngine): what differs between the kinds of database.
    const DatabaseEngine& engine() const { return *m_engine; }
    // The till whose sales and credit lines this connection writes (kept with them where recordsTill()).
    void setTillName(const QString& name) { m_tillName = name; }
    QString tillName() const { return m_tillName; }

    // The till's own clock. Every row the program stamps (a sale line, a credit line and its payment, a new
    // product or customer) gets this time as a bound value, on both engines, so a server's clock and time zone
    // play no part and the history, charts and day reports agree with the till. Without one: this computer's
    // local time.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The clock's time as the stored "yyyy-MM-dd HH:mm:ss" text.
    QString localNow() const;

    // The few statement pieces that differ between the engines (see DatabaseEngine).
    QString caseInsensitiveLikeSql() const;
    QString anyValueSql(const QString& column) const;
    QString lockForUpdateSql() const;

    // Several tills share the database: each sale and credit line records the till that wrote it (kasa), and the
    // history shows it.
    bool recordsTill() const;

    // Values are bound to the ? placeholders in order; text that takes values must hold a single statement.
    // Without values the text may hold several statements, run in order up to the first failure.
    QueryResult Query(const QString& sql, const std::vector<QVariant>& params = {});
    bool ExecuteDirect(const QString& sql, const std::vector<QVariant>& params = {});
    // Refused (reported) on a connection that can only read: every write of the series would fail.
    // A failure that ends the transaction on the engine (a server refuses every statement after a failed one; a
    // lost connection ends it; data.db when the engine had to roll it back itself) rolls it back before it is
    // reported, so that no row it locked stays locked while the message waits for the cashier; the statements
    // after it are refused without a message, and the commit fails.
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

    // Many rows for one table inside the caller's transaction (see RowBatch); nothing when it could not be set
    // up (reported).
    std::unique_ptr<RowBatch> rowBatch(const QString& table, const std::vector<BatchColumn>& columns);
    // Stores the rows waiting in the batch, all or none; a failure is reported.
    bool sendRows(RowBatch& batch);

    // Prepares a statement; an invalid statement has been reported already.
    Statement prepare(const QString& sql);
    qint64 lastInsertRowId() const;

    // Adds the columns that older databases lack (urunler.stok, veresiyeler.odemetarihi, odemeler.fisno) and the
    // takings records (see Connection::migrate; the records of older sales are the till's). On a server an empty
    // database first gets the program's tables. Each step that fails is reported.
    void Migrate();

    // Hands a failure found outside Query/ExecuteDirect (a walked Statement's error) to the error reporter.
    void reportError(const QString& engineMessage) { report(engineMessage); }

private:
    void report(const QString& message);
    // Reports a failure: to the unreachable reporter when the database could not be reached, else as it is.
    void reportFailure(const QString& message);
    // Rolls back a transaction that a failure has ended on the engine, before the failure is shown.
    void endFailedTransaction();
    // Connects to the path's database; false, with the engine's words, when it could not.
    bool connect(QString* error);
    // After a failed open each statement tries the stored path again; false (reported) when still closed.
    bool ensureOpen(QString* error = nullptr);
    // Runs every statement of the text; rows of the last statement that returns columns go to result.
    bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result);

    const DatabaseEngine* m_engine;
    std::unique_ptr<Connection> m_connection;
    QString m_path;
    QString m_tillName;
    StatementLimits m_limits;
    bool m_unreachable = false; // the last try to connect could not reach the database
    bool m_transaction = false; // a transaction was begun and not yet ended
    bool m_transactionEnded = false; // ... and a failure in it ended it on the engine already

    ErrorReporter m_reporter;
    UnreachableReporter m_unreachableReporter;
    std::function<bool()> m_cancelled;
    std::function<QDateTime()> m_clock;
};

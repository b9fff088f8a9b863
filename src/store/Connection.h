#pragma once

#include "store/Cursor.h"
#include "store/QueryResult.h"
#include "store/RowBatch.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

// How long a statement on a server may run, and wait for a lock another connection holds, in seconds; 0 leaves
// the server's own setting. A statement past a limit fails as any failed statement does.
struct StatementLimits
{
    int statementSeconds = 0;
    int lockSeconds = 0;
};

// One open connection of an engine (a data file, or a session on a server), behind the Database. It runs what it
// is handed and says how that went, in the engine's words; reporting, the transaction's bookkeeping, the clock
// and the till are the Database's, the same for every engine.
class Connection
{
public:
    virtual ~Connection() = default;

    // False once the connection to a server has been lost (a file's never is).
    virtual bool isConnected() const = 0;
    // Connects again after the connection was lost: a new session, with nothing prepared in it.
    virtual bool reconnect(QString* error) = 0;
    // Worth handing to the next task on the same database as it is: another would take long to open (a server
    // starts a process and authenticates), and this one is idle (no transaction open, no statement running, and
    // nothing said by the server since its last answer).
    virtual bool isWorthKeeping() const = 0;
    // Asked while a statement runs: once it says so, the statement stops soon with an "interrupted" error. The
    // cursors prepared afterwards ask it too.
    virtual void setCancelCheck(std::function<bool()> cancelled) = 0;

    // Runs the text. With values, they are bound to its ? placeholders in order; the text is then a single
    // statement, prepared the first time and kept by its text while the session lasts. Without values every
    // statement of the text runs in order, up to the first failure. The columns and rows of the last statement
    // that returns columns go to result. False, with the engine's words in error, on a failure.
    virtual bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result,
                     QString* error) = 0;
    // A statement to walk row by row; nothing, with the reason, when it cannot be prepared.
    virtual std::unique_ptr<Cursor> prepare(const QString& sql, QString* error) = 0;
    virtual qint64 lastInsertId() = 0;

    // False, with the reason, when a transaction could store nothing (a file that could only be opened for
    // reading lets one begin and then fails every write in it).
    virtual bool canWrite(QString* reason) const = 0;
    virtual bool inTransaction() const = 0;
    // A failure ended the open transaction: the engine rolled it back itself, or refuses the rest of it (a
    // server, after a failed statement).
    virtual bool transactionFailed() const = 0;
    // False when a COMMIT now would not store the transaction and would not say so either: a server answers it
    // by rolling back, without an error, once a statement of the transaction failed.
    virtual bool canCommit() const = 0;
    // Ends the open transaction without keeping its changes; nothing is reported.
    virtual void rollback() = 0;

    // Brings the database's tables to what the program needs: adds the columns older ones lack and the takings
    // records (made for the till named where the lines name none), and on a server creates them in an empty
    // database. The engine's words for each step that failed, in order (a failed step does not stop the ones
    // after it).
    virtual QStringList migrate(const QString& tillName) = 0;
    // Many rows for one table (see RowBatch); nothing, with the reason, when it cannot be set up.
    virtual std::unique_ptr<RowBatch> rowBatch(const QString& table, const std::vector<BatchColumn>& columns,
                                               QString* error) = 0;
};

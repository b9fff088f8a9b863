#include "store/Database.h"

#include "store/PostgresConnection.h"
#include "store/sqlite/SqliteConnection.h"

#include <QDateTime>


// ---- Statement ----

Statement::Statement() = default;

Statement::Statement(std::unique_ptr<Cursor> cursor) : m_cursor(std::move(cursor)) {}

Statement::Statement(std::unique_ptr<PostgresCursor> cursor) : m_pg(std::move(cursor)) {}

Statement::~Statement() = default;
Statement::Statement(Statement&& other) noexcept = default;
Statement& Statement::operator=(Statement&& other) noexcept = default;

void Statement::bind(int index, const QVariant& value)
{
    if (m_pg)
        return m_pg->bind(index, value);
    if (m_cursor)
        m_cursor->bind(index, value);
}

void Statement::bindAll(const std::vector<QVariant>& values)
{
    if (m_pg) {
        m_pg->clearBindings();
        for (size_t i = 0; i < values.size(); ++i)
            m_pg->bind(static_cast<int>(i) + 1, values[i]);
        return;
    }
    if (m_cursor)
        m_cursor->bindAll(values);
}

bool Statement::next()
{
    if (m_pg)
        return m_pg->next();
    return m_cursor && m_cursor->next();
}

bool Statement::exec()
{
    if (m_pg)
        return m_pg->exec();
    return m_cursor && m_cursor->exec();
}

void Statement::reset()
{
    if (m_pg)
        m_pg->reset();
    if (m_cursor)
        m_cursor->reset();
}

QString Statement::error() const
{
    if (m_pg)
        return m_pg->error();
    return m_cursor ? m_cursor->error() : QString();
}

int Statement::columnCount() const
{
    if (m_pg)
        return m_pg->columnCount();
    return m_cursor ? m_cursor->columnCount() : 0;
}

QString Statement::columnName(int column) const
{
    if (m_pg)
        return m_pg->columnName(column);
    return m_cursor ? m_cursor->columnName(column) : QString();
}

bool Statement::isNull(int column) const
{
    if (m_pg)
        return m_pg->isNull(column);
    return !m_cursor || m_cursor->isNull(column);
}

QString Statement::text(int column) const
{
    if (m_pg)
        return m_pg->text(column);
    return m_cursor ? m_cursor->text(column) : QString();
}

QByteArrayView Statement::utf8(int column) const
{
    if (m_pg)
        return m_pg->utf8(column);
    return m_cursor ? m_cursor->utf8(column) : QByteArrayView();
}

qint64 Statement::integer(int column) const
{
    if (m_pg)
        return m_pg->integer(column);
    return m_cursor ? m_cursor->integer(column) : 0;
}

double Statement::real(int column) const
{
    if (m_pg)
        return m_pg->real(column);
    return m_cursor ? m_cursor->real(column) : 0.0;
}

DbValue Statement::value(int column) const
{
    if (m_pg)
        return m_pg->value(column);
    return m_cursor ? m_cursor->value(column) : DbValue();
}

// ---- Database ----

Database::Database() = default;

Database::~Database()
{
    close();
}

void Database::report(const QString& message)
{
    endFailedServerTransaction();
    if (m_reporter)
        m_reporter(message);
}

void Database::endFailedServerTransaction()
{
    if (!m_pg || !m_serverTransaction || m_serverTransactionFailed)
        return;
    if (m_pg->isConnected() && !m_pg->transactionFailed())
        return; // a failure outside the server's statements: the transaction goes on
    m_serverTransactionFailed = true;
    if (m_pg->isConnected())
        m_pg->run(QStringLiteral("ROLLBACK;"), {}, nullptr, nullptr);
}

void Database::reportFailure(const QString& message)
{
    endFailedServerTransaction();
    // A server that is not there, or went away under the statement, is said to be unreachable; the next
    // statement connects anew.
    const bool unreachable = isOnServer() && (!m_pg || !m_pg->isConnected());
    if (unreachable && m_unreachableReporter)
        m_unreachableReporter(ShownServerUrl(m_path), message);
    else
        report(message);
}

bool Database::isOnServer() const
{
    return IsServerUrl(m_path);
}

QString Database::localNow() const
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Database::caseInsensitiveLikeSql() const
{
    return isOnServer() ? QStringLiteral("ilike") : QStringLiteral("like");
}

QString Database::anyValueSql(const QString& column) const
{
    return isOnServer() ? QStringLiteral("max(%1)").arg(column) : column;
}

QString Database::lockForUpdateSql() const
{
    return isOnServer() ? QStringLiteral(" FOR UPDATE") : QString();
}

bool Database::openHandle(const QString& path, QString* error)
{
    if (IsServerUrl(path)) {
        m_pg = PostgresConnection::connect(path, error, m_limits);
        return m_pg != nullptr;
    }
    m_connection = SqliteConnection::open(path, error);
    if (!m_connection)
        return false;
    m_connection->setCancelCheck(m_cancelled);
    return true;
}

void Database::setCancelCheck(std::function<bool()> cancelled)
{
    m_cancelled = std::move(cancelled);
    if (m_connection)
        m_connection->setCancelCheck(m_cancelled);
}

bool Database::open(const QString& path)
{
    close();
    m_path = path;
    QString error;
    if (!openHandle(path, &error)) {
        reportFailure(error);
        return false;
    }
    return true;
}

void Database::open(const QString& url, std::unique_ptr<PostgresConnection> connection)
{
    close();
    m_path = url;
    m_pg = std::move(connection);
}

std::unique_ptr<PostgresConnection> Database::releaseServerConnection()
{
    std::unique_ptr<PostgresConnection> connection;
    if (m_pg && m_pg->isIdle())
        connection = std::move(m_pg);
    close();
    return connection;
}

void Database::close()
{
    m_pg.reset();
    m_connection.reset();
}

bool Database::ensureOpen(QString* error)
{
    if (m_connection)
        return true;
    QString message = QStringLiteral("No database is open");
    if (m_pg) {
        if (m_pg->isConnected())
            return true;
        // The statements of a transaction cut off with the connection must not go on in a new one, where each
        // would be stored on its own; the loss has been reported by the statement that met it.
        if (m_serverTransaction) {
            if (error)
                *error = QStringLiteral("The connection to the database server was lost");
            return false;
        }
        // A server that went away is asked again by the next statement.
        if (m_pg->reconnect(&message))
            return true;
    }
    if (!m_path.isEmpty() && openHandle(m_path, &message))
        return true;
    reportFailure(message);
    if (error)
        *error = message;
    return false;
}

bool Database::run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result)
{
    auto fail = [&](const QString& message) {
        reportFailure(message);
        if (result) {
            result->ok = false;
            result->error = message;
            result->columns.clear();
            result->rows.clear();
        }
        return false;
    };
    if (m_pg && m_serverTransactionFailed) {
        // The failure that ended the transaction has been shown; the rest of the series is refused quietly.
        if (result) {
            result->ok = false;
            result->error = QStringLiteral("current transaction is aborted, commands ignored until end of "
                                           "transaction block");
            result->columns.clear();
            result->rows.clear();
        }
        return false;
    }
    QString openError;
    if (!ensureOpen(&openError)) {
        if (result) {
            result->ok = false;
            result->error = openError;
        }
        return false;
    }
    if (m_pg) {
        QString message;
        if (!m_pg->run(sql, params, result, &message, m_cancelled))
            return fail(message);
        if (result) {
            result->ok = true;
            result->error.clear();
        }
        return true;
    }

    QString message;
    if (!m_connection->run(sql, params, result, &message))
        return fail(message);
    if (result) {
        result->ok = true;
        result->error.clear();
    }
    return true;
}

QueryResult Database::Query(const QString& sql, const std::vector<QVariant>& params)
{
    QueryResult result;
    run(sql, params, &result);
    return result;
}

bool Database::ExecuteDirect(const QString& sql, const std::vector<QVariant>& params)
{
    return run(sql, params, nullptr);
}

bool Database::BeginTransaction()
{
    if (!ensureOpen())
        return false;
    if (m_pg) {
        m_serverTransactionFailed = false;
        m_serverTransaction = ExecuteDirect(QStringLiteral("BEGIN;"));
        return m_serverTransaction;
    }
    // A file that could only be opened for reading lets the transaction begin and then fails every write in
    // it; refuse at once, so that a series that can store nothing does not go on as if it had been stored.
    QString refusal;
    if (!m_connection->canWrite(&refusal)) {
        report(refusal);
        return false;
    }
    // IMMEDIATE takes the write lock at once, so a second running copy makes us wait here (busy timeout)
    // rather than fail halfway through the series.
    return ExecuteDirect(QStringLiteral("BEGIN IMMEDIATE;"));
}

bool Database::Commit()
{
    // After a failed statement the server would answer COMMIT by rolling back, without an error: that is no
    // commit. The failure itself has been reported.
    if (m_pg && (m_serverTransactionFailed || !m_pg->isConnected() || m_pg->transactionFailed())) {
        Rollback();
        return false;
    }
    if (ExecuteDirect(QStringLiteral("COMMIT;"))) {
        m_serverTransaction = false;
        return true;
    }
    Rollback();
    return false;
}

void Database::Rollback()
{
    if (m_pg) {
        m_serverTransaction = false;
        m_serverTransactionFailed = false;
        if (m_pg->isConnected() && m_pg->inTransaction())
            m_pg->run(QStringLiteral("ROLLBACK;"), {}, nullptr, nullptr);
        return;
    }
    if (m_connection)
        m_connection->rollback();
}

bool Database::transactionFailed() const
{
    if (m_pg)
        return !m_pg->isConnected() || m_pg->transactionFailed();
    return !m_connection || m_connection->transactionFailed();
}

Statement Database::prepare(const QString& sql)
{
    if ((m_pg && m_serverTransactionFailed) || !ensureOpen())
        return Statement();
    if (m_pg) {
        QString message;
        std::unique_ptr<PostgresCursor> cursor = m_pg->prepare(sql, m_cancelled, &message);
        if (!cursor) {
            report(message);
            return Statement();
        }
        return Statement(std::move(cursor));
    }
    QString message;
    std::unique_ptr<Cursor> cursor = m_connection->prepare(sql, &message);
    if (!cursor) {
        report(message);
        return Statement();
    }
    return Statement(std::move(cursor));
}

bool Database::copyIn(const QString& copyStatement, const QByteArray& rows)
{
    if (!isOnServer() || m_serverTransactionFailed || !ensureOpen())
        return false;
    QString message;
    if (m_pg->copyIn(copyStatement, rows, &message, m_cancelled))
        return true;
    reportFailure(message);
    return false;
}

qint64 Database::lastInsertRowId() const
{
    if (m_pg)
        return m_pg->lastInsertId();
    return m_connection ? m_connection->lastInsertId() : 0;
}

void Database::Migrate()
{
    if (m_pg || IsServerUrl(m_path)) {
        QString message;
        if (!ensureOpen(&message))
            return;
        if (!m_pg->createOrMigrateSchema(&message))
            report(message);
        return;
    }
    if (!ensureOpen())
        return;
    for (const QString& failure : m_connection->migrate())
        report(failure);
}

bool Database::BackupTo(const QString& targetPath, QString* error, const BackupSteps& onStep)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (isOnServer())
        return fail(QStringLiteral("A database on a server is backed up with the server's own tools"));
    if (!m_connection) {
        QString openError = QStringLiteral("No database is open");
        if (m_path.isEmpty() || !openHandle(m_path, &openError))
            return fail(openError);
    }
    return m_connection->backupTo(targetPath, error, onStep);
}

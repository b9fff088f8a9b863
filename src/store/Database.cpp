#include "store/Database.h"

#include "store/DatabaseEngine.h"

Database::Database() : m_engine(&EngineFor(QString())) {}

Database::~Database()
{
    close();
}

void Database::report(const QString& message)
{
    endFailedTransaction();
    if (m_reporter)
        m_reporter(message);
}

void Database::endFailedTransaction()
{
    if (!m_connection || !m_transaction || m_transactionEnded)
        return;
    if (m_connection->isConnected() && !m_connection->transactionFailed())
        return; // a failure the transaction survives (or one outside the engine's statements): it goes on
    m_transactionEnded = true;
    m_connection->rollback();
}

void Database::reportFailure(const QString& message)
{
    endFailedTransaction();
    // A server that is not there, or went away under the statement, is said to be unreachable; the next
    // statement connects anew.
    const bool unreachable = m_connection ? !m_connection->isConnected() : m_unreachable;
    if (unreachable && m_unreachableReporter)
        m_unreachableReporter(m_engine->shownLocation(m_path), message);
    else
        report(message);
}

QString Database::localNow() const
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Database::caseInsensitiveLikeSql() const
{
    return m_engine->caseInsensitiveLikeSql();
}

QString Database::anyValueSql(const QString& column) const
{
    return m_engine->anyValueSql(column);
}

QString Database::lockForUpdateSql() const
{
    return m_engine->lockForUpdateSql();
}

bool Database::recordsTill() const
{
    return m_engine->recordsTill();
}

bool Database::connect(QString* error)
{
    ConnectFailure failure;
    m_connection = m_engine->connect(m_path, m_limits, &failure);
    m_unreachable = failure.unreachable;
    if (!m_connection) {
        if (error)
            *error = failure.message;
        return false;
    }
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
    m_engine = &EngineFor(path);
    QString error;
    if (!connect(&error)) {
        reportFailure(error);
        return false;
    }
    return true;
}

void Database::open(const QString& path, std::unique_ptr<Connection> connection)
{
    close();
    m_path = path;
    m_engine = &EngineFor(path);
    m_connection = std::move(connection);
    if (m_connection)
        m_connection->setCancelCheck(m_cancelled);
}

std::unique_ptr<Connection> Database::releaseIdleConnection()
{
    std::unique_ptr<Connection> connection;
    if (m_connection && m_connection->isWorthKeeping()) {
        connection = std::move(m_connection);
        connection->setCancelCheck({}); // the check belongs to this task
    }
    close();
    return connection;
}

void Database::close()
{
    m_connection.reset();
    m_transaction = false;
    m_transactionEnded = false;
}

bool Database::ensureOpen(QString* error)
{
    if (m_connection && m_connection->isConnected())
        return true;
    QString message = QStringLiteral("No database is open");
    if (m_connection) {
        // The statements of a transaction cut off with the connection must not go on in a new one, where each
        // would be stored on its own; the loss has been reported by the statement that met it.
        if (m_transaction) {
            if (error)
                *error = QStringLiteral("The connection to the database server was lost");
            return false;
        }
        // A server that went away is asked again by the next statement.
        if (m_connection->reconnect(&message))
            return true;
    }
    if (!m_path.isEmpty() && connect(&message))
        return true;
    reportFailure(message);
    if (error)
        *error = message;
    return false;
}

bool Database::run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result)
{
    const auto refuse = [result](const QString& message) {
        if (result) {
            result->ok = false;
            result->error = message;
            result->columns.clear();
            result->rows.clear();
        }
        return false;
    };
    if (m_transactionEnded) {
        // The failure that ended the transaction has been shown; the rest of the series is refused quietly.
        return refuse(QStringLiteral("current transaction is aborted, commands ignored until end of "
                                     "transaction block"));
    }
    QString message;
    if (!ensureOpen(&message))
        return refuse(message);
    if (!m_connection->run(sql, params, result, &message)) {
        reportFailure(message);
        return refuse(message);
    }
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
    QString refusal;
    if (!m_connection->canWrite(&refusal)) {
        report(refusal);
        return false;
    }
    m_transactionEnded = false;
    m_transaction = ExecuteDirect(m_engine->beginTransactionSql());
    return m_transaction;
}

bool Database::Commit()
{
    // A server would answer COMMIT after a failed statement by rolling back, without an error: that is no commit.
    // The failure itself has been reported.
    if (m_transactionEnded || (m_connection && !m_connection->canCommit())) {
        Rollback();
        return false;
    }
    if (ExecuteDirect(QStringLiteral("COMMIT;"))) {
        m_transaction = false;
        return true;
    }
    Rollback();
    return false;
}

void Database::Rollback()
{
    m_transaction = false;
    m_transactionEnded = false;
    if (m_connection)
        m_connection->rollback();
}

bool Database::transactionFailed() const
{
    return !m_connection || m_transactionEnded || !m_connection->isConnected() || m_connection->transactionFailed();
}

std::unique_ptr<RowBatch> Database::rowBatch(const QString& table, const std::vector<BatchColumn>& columns)
{
    if (m_transactionEnded || !ensureOpen())
        return nullptr;
    QString message;
    std::unique_ptr<RowBatch> batch = m_connection->rowBatch(table, columns, &message);
    if (!batch)
        report(message);
    return batch;
}

bool Database::sendRows(RowBatch& batch)
{
    if (m_transactionEnded || !ensureOpen())
        return false;
    QString message;
    if (batch.send(&message))
        return true;
    reportFailure(message);
    return false;
}

Statement Database::prepare(const QString& sql)
{
    if (m_transactionEnded || !ensureOpen())
        return Statement();
    QString message;
    std::unique_ptr<Cursor> cursor = m_connection->prepare(sql, &message);
    if (!cursor) {
        report(message);
        return Statement();
    }
    return Statement(std::move(cursor));
}

qint64 Database::lastInsertRowId() const
{
    return m_connection ? m_connection->lastInsertId() : 0;
}

void Database::Migrate()
{
    if (!ensureOpen())
        return;
    for (const QString& failure : m_connection->migrate(m_tillName))
        report(failure);
}

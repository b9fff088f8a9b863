#include "store/Database.h"

#include "store/FilePaths.h"
#include "store/PostgresConnection.h"
#include "store/TakingsMigration.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

constexpr int kBusyTimeoutMs = 5000;

QString EngineMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// What SQLite prints for a real ("%!.15g": at least one digit after the point, e.g. 18.0, 1.0e+20). Used only
// for values that did not come from the engine with its own text.
QString RealText(double value)
{
    if (std::isnan(value))
        return QString();
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    QString text = QString::number(value, 'g', 15);
    const qsizetype exponent = text.indexOf(QLatin1Char('e'));
    const QString mantissa = exponent < 0 ? text : text.left(exponent);
    if (!mantissa.contains(QLatin1Char('.'))) {
        if (exponent < 0)
            text += QStringLiteral(".0");
        else
            text.insert(exponent, QStringLiteral(".0"));
    }
    return text;
}

qint64 TruncateToInteger(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

double ParseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

DbValue ReadColumn(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return DbValue(QVariant(static_cast<qint64>(sqlite3_column_int64(stmt, column))));
    case SQLITE_FLOAT: {
        const double real = sqlite3_column_double(stmt, column);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return DbValue(real, text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : RealText(real));
    }
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return DbValue(QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column))));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        return DbValue(QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column))));
    }
    default:
        return DbValue();
    }
}

int BindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(stmt, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong unsignedValue = value.toULongLong();
        if (unsignedValue > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            return sqlite3_bind_double(stmt, index, static_cast<double>(unsignedValue));
        return sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(unsignedValue));
    }
    case QMetaType::Float:
    case QMetaType::Double:
        return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(stmt, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default:
        break;
    }
    QString text;
    if (value.typeId() == QMetaType::QDateTime)
        text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else if (value.typeId() == QMetaType::QDate)
        text = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    else
        text = value.toString();
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text64(stmt, index, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
}

struct StatementGuard
{
    sqlite3_stmt* stmt = nullptr;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

} // namespace

// ---- DbValue ----

QString DbValue::asText() const
{
    switch (m_value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return m_realText.isNull() ? RealText(m_value.toDouble()) : m_realText;
    case QMetaType::QByteArray:
        return QString::fromUtf8(m_value.toByteArray());
    default:
        return m_value.isNull() ? QString() : m_value.toString();
    }
}

qint64 DbValue::asInteger() const
{
    if (m_value.isNull())
        return 0;
    switch (m_value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return TruncateToInteger(m_value.toDouble());
    case QMetaType::QString: {
        bool ok = false;
        const qint64 value = m_value.toString().trimmed().toLongLong(&ok);
        return ok ? value : 0;
    }
    case QMetaType::QByteArray:
        return 0;
    default:
        return m_value.toLongLong();
    }
}

double DbValue::asDouble() const
{
    if (m_value.isNull())
        return 0.0;
    switch (m_value.typeId()) {
    case QMetaType::QString:
        return ParseNumber(m_value.toString());
    case QMetaType::QByteArray:
        return ParseNumber(QString::fromUtf8(m_value.toByteArray()));
    default:
        return m_value.toDouble();
    }
}

// ---- QueryResult ----

int QueryResult::columnIndex(const QString& name) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == name)
            return static_cast<int>(i);
    }
    // Column names in SQL are not case-sensitive.
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const DbValue& QueryResult::value(size_t row, const QString& column) const
{
    static const DbValue kNull;
    const int index = columnIndex(column);
    if (index < 0 || row >= rows.size() || static_cast<size_t>(index) >= rows[row].size())
        return kNull;
    return rows[row][static_cast<size_t>(index)];
}

// ---- Statement ----

Statement::Statement() = default;

Statement::Statement(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}

Statement::Statement(std::unique_ptr<PostgresCursor> cursor) : m_pg(std::move(cursor)) {}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_pg(std::move(other.m_pg)), m_error(std::move(other.m_error))
{
    other.m_db = nullptr;
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        m_pg = std::move(other.m_pg);
        m_error = std::move(other.m_error);
        other.m_db = nullptr;
        other.m_stmt = nullptr;
    }
    return *this;
}

void Statement::bind(int index, const QVariant& value)
{
    if (m_pg)
        return m_pg->bind(index, value);
    if (!m_stmt)
        return;
    if (BindValue(m_stmt, index, value) != SQLITE_OK)
        m_error = EngineMessage(m_db);
}

void Statement::bindAll(const std::vector<QVariant>& values)
{
    if (m_pg) {
        m_pg->clearBindings();
        for (size_t i = 0; i < values.size(); ++i)
            m_pg->bind(static_cast<int>(i) + 1, values[i]);
        return;
    }
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    for (size_t i = 0; i < values.size(); ++i)
        bind(static_cast<int>(i) + 1, values[i]);
}

bool Statement::next()
{
    if (m_pg) {
        const bool row = m_pg->next();
        m_error = m_pg->error();
        return row;
    }
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_error = EngineMessage(m_db);
    return false;
}

bool Statement::exec()
{
    if (m_pg) {
        const bool done = m_pg->exec();
        m_error = m_pg->error();
        return done;
    }
    if (!m_stmt)
        return false;
    sqlite3_reset(m_stmt);
    m_error.clear();
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        m_error = EngineMessage(m_db);
        return false;
    }
    return true;
}

void Statement::reset()
{
    if (m_pg)
        m_pg->reset();
    if (m_stmt)
        sqlite3_reset(m_stmt);
    m_error.clear();
}

int Statement::columnCount() const
{
    if (m_pg)
        return m_pg->columnCount();
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString Statement::columnName(int column) const
{
    if (m_pg)
        return m_pg->columnName(column);
    const char* name = m_stmt ? sqlite3_column_name(m_stmt, column) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool Statement::isNull(int column) const
{
    if (m_pg)
        return m_pg->isNull(column);
    return !m_stmt || sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    if (m_pg)
        return m_pg->text(column);
    if (!m_stmt || column < 0 || column >= sqlite3_column_count(m_stmt))
        return QString();
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_stmt, column));
    case SQLITE_TEXT:
    case SQLITE_FLOAT: // SQLite's own text of a real, as DbValue keeps it
        // Read straight from the engine: walking a big table reads this once per cell.
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    default:
        return value(column).asText();
    }
}

QByteArrayView Statement::utf8(int column) const
{
    if (m_pg)
        return m_pg->utf8(column);
    if (!m_stmt || column < 0 || column >= sqlite3_column_count(m_stmt)
        || sqlite3_column_type(m_stmt, column) == SQLITE_BLOB)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

// Numbers are read straight from the engine; only text goes through DbValue's rules. (value() would also
// have the engine print every real as text, which costs more than the rest of a row.)
qint64 Statement::integer(int column) const
{
    if (m_pg)
        return m_pg->integer(column);
    if (m_stmt && column >= 0 && column < sqlite3_column_count(m_stmt)) {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER: return sqlite3_column_int64(m_stmt, column);
        case SQLITE_NULL: return 0;
        default: break;
        }
    }
    return value(column).asInteger();
}

double Statement::real(int column) const
{
    if (m_pg)
        return m_pg->real(column);
    if (m_stmt && column >= 0 && column < sqlite3_column_count(m_stmt)) {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_FLOAT: return sqlite3_column_double(m_stmt, column);
        case SQLITE_INTEGER: return double(sqlite3_column_int64(m_stmt, column));
        case SQLITE_NULL: return 0;
        default: break;
        }
    }
    return value(column).asDouble();
}

DbValue Statement::value(int column) const
{
    if (m_pg)
        return m_pg->value(column);
    if (!m_stmt || column < 0 || column >= sqlite3_column_count(m_stmt))
        return DbValue();
    return ReadColumn(m_stmt, column);
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
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time (the window's, or a worker's own), so the engine's lock
    // around every call, a good part of the time a long list takes to read, is left out.
    const int rc = sqlite3_open_v2(SqlitePath(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = db ? EngineMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    // A second running copy waits for the other's write instead of failing at once.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    m_db = db;
    installCancelCheck();
    return true;
}

void Database::setCancelCheck(std::function<bool()> cancelled)
{
    m_cancelled = std::move(cancelled);
    installCancelCheck();
}

void Database::installCancelCheck()
{
    if (!m_db)
        return;
    if (!m_cancelled) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        m_db, 4096, [](void* self) { return static_cast<Database*>(self)->m_cancelled() ? 1 : 0; }, this);
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

sqlite3_stmt* Database::cachedStatement(const QByteArray& sql, QString* error)
{
    const auto found = m_statementCache.find(sql);
    if (found != m_statementCache.end())
        return found->second;
    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.constData(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &guard.stmt, &tail)
        != SQLITE_OK) {
        *error = EngineMessage(m_db);
        return nullptr;
    }
    // Bound values belong to exactly one statement; refuse text that holds more.
    StatementGuard rest;
    const char* end = sql.constData() + sql.size();
    if (!guard.stmt
        || (tail < end && (sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &rest.stmt, nullptr) != SQLITE_OK
                           || rest.stmt))) {
        *error = QStringLiteral("Bound values need a single SQL statement");
        return nullptr;
    }
    if (m_statementCache.size() >= 64)
        clearStatementCache();
    sqlite3_stmt* stmt = guard.stmt;
    guard.stmt = nullptr;
    m_statementCache.emplace(sql, stmt);
    return stmt;
}

void Database::clearStatementCache()
{
    for (auto& [sql, stmt] : m_statementCache)
        sqlite3_finalize(stmt);
    m_statementCache.clear();
}

void Database::close()
{
    m_pg.reset();
    clearStatementCache();
    if (m_db) {
        // Statements still alive keep the connection until they are finalized.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool Database::ensureOpen(QString* error)
{
    if (m_db)
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

    // Steps a prepared statement to its end; the rows go to result when it returns columns.
    auto collect = [&](sqlite3_stmt* stmt) {
        const int columnCount = sqlite3_column_count(stmt);
        std::vector<std::vector<DbValue>> rows;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!result || columnCount == 0)
                continue;
            std::vector<DbValue> row;
            row.reserve(static_cast<size_t>(columnCount));
            for (int c = 0; c < columnCount; ++c)
                row.push_back(ReadColumn(stmt, c));
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE)
            return fail(EngineMessage(m_db));
        if (result && columnCount > 0) {
            result->columns.clear();
            for (int c = 0; c < columnCount; ++c)
                result->columns.push_back(QString::fromUtf8(sqlite3_column_name(stmt, c)));
            result->rows = std::move(rows);
        }
        return true;
    };

    const QByteArray text = sql.toUtf8();
    if (!params.empty()) {
        // A statement with bound values is prepared once and kept: the till repeats the same few lookups.
        QString message;
        sqlite3_stmt* stmt = cachedStatement(text, &message);
        if (!stmt)
            return fail(message);
        const auto rewind = qScopeGuard([stmt] {
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
        });
        const int expected = sqlite3_bind_parameter_count(stmt);
        if (expected != static_cast<int>(params.size()))
            return fail(QStringLiteral("%1 values bound to a statement with %2 parameters")
                            .arg(params.size())
                            .arg(expected));
        for (size_t i = 0; i < params.size(); ++i) {
            if (BindValue(stmt, static_cast<int>(i) + 1, params[i]) != SQLITE_OK)
                return fail(EngineMessage(m_db));
        }
        if (!collect(stmt))
            return false;
    } else {
        const char* tail = text.constData();
        const char* const end = text.constData() + text.size();
        while (tail < end) {
            StatementGuard guard;
            if (sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &guard.stmt, &tail) != SQLITE_OK)
                return fail(EngineMessage(m_db));
            if (!guard.stmt)
                break; // only blanks or comments were left
            if (!collect(guard.stmt))
                return false;
        }
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
    if (m_pg) {
        m_serverTransactionFailed = false;
        m_serverTransaction = ExecuteDirect(QStringLiteral("BEGIN;"));
        return m_serverTransaction;
    }
    // A file that could only be opened for reading lets the transaction begin and then fails every write in
    // it; refuse at once, so that a series that can store nothing does not go on as if it had been stored.
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        report(QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));
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
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK;", nullptr, nullptr, nullptr);
}

bool Database::transactionFailed() const
{
    if (m_pg)
        return !m_pg->isConnected() || m_pg->transactionFailed();
    return !m_db || sqlite3_get_autocommit(m_db) != 0;
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
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr) != SQLITE_OK) {
        report(EngineMessage(m_db));
        return Statement();
    }
    if (!stmt) {
        report(QStringLiteral("Not an SQL statement"));
        return Statement();
    }
    return Statement(m_db, stmt);
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
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
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
    struct Check
    {
        const char* table;
        const char* column;
        const char* alter;
    };
    static const Check kChecks[] = {
        {"urunler", "stok", "ALTER TABLE urunler ADD COLUMN stok INTEGER DEFAULT 0;"},
        {"veresiyeler", "odemetarihi", "ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;"},
        {"odemeler", "fisno", "ALTER TABLE odemeler ADD COLUMN fisno INTEGER DEFAULT 0;"},
    };
    bool schemaRead = true;
    for (const Check& check : kChecks) {
        const QueryResult info =
            Query(QStringLiteral("PRAGMA table_info(") + QLatin1String(check.table) + QStringLiteral(");"));
        schemaRead = schemaRead && info.ok;
        const QString column = QLatin1String(check.column);
        bool present = false;
        for (const auto& row : info.rows) {
            if (row.size() > 1 && row[1].asText() == column) {
                present = true;
                break;
            }
        }
        if (!present)
            ExecuteDirect(QLatin1String(check.alter));
    }
    // A file whose schema cannot be read (not a database) has been reported enough.
    if (schemaRead)
        MigrateTakings(*this);
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
    if (!m_db) {
        QString openError = QStringLiteral("No database is open");
        if (m_path.isEmpty() || !openHandle(m_path, &openError))
            return fail(openError);
    }

    const QFileInfo target(targetPath);
    // Renaming a copy over the open file itself would leave the connection on the unlinked old one.
    const QString ownFile = QFileInfo(m_path).canonicalFilePath();
    if (!ownFile.isEmpty() && target.canonicalFilePath() == ownFile)
        return true;

    QTemporaryFile temporary(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    temporary.setAutoRemove(false);
    if (!temporary.open())
        return fail(temporary.errorString());
    const QString temporaryPath = temporary.fileName();
    temporary.setPermissions(target.exists() ? QFile::permissions(target.absoluteFilePath())
                                             : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                   | QFile::ReadOther);
    temporary.close();
    auto discard = [&temporaryPath](const QString& message, QString* out) {
        QFile::remove(temporaryPath);
        QFile::remove(temporaryPath + QStringLiteral("-journal"));
        if (out)
            *out = message;
        return false;
    };

    sqlite3* destination = nullptr;
    if (sqlite3_open_v2(SqlitePath(temporaryPath).constData(), &destination,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        const QString message = EngineMessage(destination);
        sqlite3_close(destination);
        return discard(message, error);
    }
    sqlite3_busy_timeout(destination, kBusyTimeoutMs);

    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", m_db, "main");
    if (!backup) {
        const QString message = EngineMessage(destination);
        sqlite3_close(destination);
        return discard(message, error);
    }
    int rc;
    int attempts = 0;
    bool stopped = false;
    // Without a step function the copy is one step; with one, a thousand pages at a time.
    for (;;) {
        rc = sqlite3_backup_step(backup, onStep ? 1024 : -1);
        if (rc == SQLITE_OK) {
            const int total = sqlite3_backup_pagecount(backup);
            if (!onStep(total - sqlite3_backup_remaining(backup), total)) {
                stopped = true;
                break;
            }
            continue;
        }
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++attempts <= 50) {
            sqlite3_sleep(100);
            continue;
        }
        break;
    }
    sqlite3_backup_finish(backup);
    if (stopped || rc != SQLITE_DONE) {
        const QString message = stopped ? QStringLiteral("Cancelled") : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(destination);
        return discard(message, error);
    }
    if (sqlite3_close(destination) != SQLITE_OK)
        return discard(QStringLiteral("The backup file could not be closed"), error);

    std::error_code renameError;
    std::filesystem::rename(FileSystemPath(temporaryPath), FileSystemPath(target.absoluteFilePath()), renameError);
    if (renameError)
        return discard(QString::fromLocal8Bit(renameError.message()), error);
    return true;
}

bool IsSqliteDatabaseFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray kHeader("SQLite format 3\0", 16);
    if (file.read(kHeader.size()) != kHeader)
        return false;
    file.close();

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(SqlitePath(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    auto firstText = [db](const char* sql, bool* ok) {
        QString text;
        sqlite3_stmt* stmt = nullptr;
        *ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && stmt
              && sqlite3_step(stmt) == SQLITE_ROW;
        if (*ok) {
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            text = value ? QString::fromUtf8(value) : QString();
        }
        sqlite3_finalize(stmt);
        return text;
    };
    bool schemaRead = false;
    bool checked = false;
    firstText("SELECT count(*) FROM sqlite_master;", &schemaRead);
    const QString check = schemaRead ? firstText("PRAGMA quick_check;", &checked) : QString();
    sqlite3_close(db);
    return schemaRead && checked && check == QLatin1String("ok");
}

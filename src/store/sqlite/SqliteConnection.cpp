#include "store/sqlite/SqliteConnection.h"

#include "store/sqlite/FilePaths.h"
#include "store/sqlite/SqliteCursor.h"
#include "store/sqlite/SqliteRowBatch.h"
#include "store/sqlite/SqliteValues.h"
#include "store/sqlite/TakingsMigration.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace {

constexpr int kBusyTimeoutMs = 5000;

struct StatementGuard
{
    sqlite3_stmt* stmt = nullptr;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

} // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::open(const QString& path, QString* error)
{
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time (the window's, or a worker's own), so the engine's lock
    // around every call, a good part of the time a long list takes to read, is left out.
    const int rc = sqlite3_open_v2(SqlitePath(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = db ? SqliteMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    // A second running copy waits for the other's write instead of failing at once.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(db, path));
}

SqliteConnection::~SqliteConnection()
{
    clearStatementCache();
    // Statements still alive keep the connection until they are finalized.
    sqlite3_close_v2(m_db);
}

void SqliteConnection::setCancelCheck(std::function<bool()> cancelled)
{
    m_cancelled = std::move(cancelled);
    if (!m_cancelled) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        m_db, 4096, [](void* self) { return static_cast<SqliteConnection*>(self)->m_cancelled() ? 1 : 0; }, this);
}

bool SqliteConnection::collect(sqlite3_stmt* stmt, QueryResult* result, QString* error)
{
    const int columnCount = sqlite3_column_count(stmt);
    std::vector<std::vector<DbValue>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!result || columnCount == 0)
            continue;
        std::vector<DbValue> row;
        row.reserve(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            row.push_back(SqliteColumnValue(stmt, c));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        *error = SqliteMessage(m_db);
        return false;
    }
    if (result && columnCount > 0) {
        result->columns.clear();
        for (int c = 0; c < columnCount; ++c)
            result->columns.push_back(QString::fromUtf8(sqlite3_column_name(stmt, c)));
        result->rows = std::move(rows);
    }
    return true;
}

bool SqliteConnection::run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result,
                           QString* error)
{
    const QByteArray text = sql.toUtf8();
    if (!params.empty()) {
        // A statement with bound values is prepared once and kept: the till repeats the same few lookups.
        sqlite3_stmt* stmt = cachedStatement(text, error);
        if (!stmt)
            return false;
        const auto rewind = qScopeGuard([stmt] {
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
        });
        const int expected = sqlite3_bind_parameter_count(stmt);
        if (expected != static_cast<int>(params.size())) {
            *error = QStringLiteral("%1 values bound to a statement with %2 parameters").arg(params.size()).arg(expected);
            return false;
        }
        for (size_t i = 0; i < params.size(); ++i) {
            if (SqliteBind(stmt, static_cast<int>(i) + 1, params[i]) != SQLITE_OK) {
                *error = SqliteMessage(m_db);
                return false;
            }
        }
        return collect(stmt, result, error);
    }
    const char* tail = text.constData();
    const char* const end = text.constData() + text.size();
    while (tail < end) {
        StatementGuard guard;
        if (sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &guard.stmt, &tail) != SQLITE_OK) {
            *error = SqliteMessage(m_db);
            return false;
        }
        if (!guard.stmt)
            break; // only blanks or comments were left
        if (!collect(guard.stmt, result, error))
            return false;
    }
    return true;
}

sqlite3_stmt* SqliteConnection::cachedStatement(const QByteArray& sql, QString* error)
{
    const auto found = m_statementCache.find(sql);
    if (found != m_statementCache.end())
        return found->second;
    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.constData(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &guard.stmt, &tail)
        != SQLITE_OK) {
        *error = SqliteMessage(m_db);
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
    // The program has fewer statements than this; text built from data (a list of ids) would otherwise pile up.
    if (m_statementCache.size() >= 64)
        clearStatementCache();
    sqlite3_stmt* stmt = guard.stmt;
    guard.stmt = nullptr;
    m_statementCache.emplace(sql, stmt);
    return stmt;
}

void SqliteConnection::clearStatementCache()
{
    for (auto& [sql, stmt] : m_statementCache)
        sqlite3_finalize(stmt);
    m_statementCache.clear();
}

std::unique_ptr<Cursor> SqliteConnection::prepare(const QString& sql, QString* error)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr) != SQLITE_OK) {
        *error = SqliteMessage(m_db);
        return nullptr;
    }
    if (!stmt) {
        *error = QStringLiteral("Not an SQL statement");
        return nullptr;
    }
    return std::make_unique<SqliteCursor>(m_db, stmt);
}

qint64 SqliteConnection::lastInsertId()
{
    return sqlite3_last_insert_rowid(m_db);
}

bool SqliteConnection::canWrite(QString* reason) const
{
    // A file that could only be opened for reading lets the transaction begin and then fails every write in
    // it; refuse at once, so that a series that can store nothing does not go on as if it had been stored.
    if (sqlite3_db_readonly(m_db, "main") != 1)
        return true;
    *reason = QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY));
    return false;
}

bool SqliteConnection::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

bool SqliteConnection::transactionFailed() const
{
    // A failed statement leaves the transaction open, unless the engine had to roll it back itself.
    return !inTransaction();
}

void SqliteConnection::rollback()
{
    if (inTransaction())
        sqlite3_exec(m_db, "ROLLBACK;", nullptr, nullptr, nullptr);
}

QStringList SqliteConnection::addMissingColumns(std::span<const ColumnCheck> checks)
{
    QStringList failures;
    QString error;
    for (const ColumnCheck& check : checks) {
        QueryResult info;
        if (!run(QStringLiteral("PRAGMA table_info(") + QLatin1String(check.table) + QStringLiteral(");"), {}, &info,
                 &error))
            failures << error;
        const QString column = QLatin1String(check.column);
        bool present = false;
        for (const auto& row : info.rows) {
            if (row.size() > 1 && row[1].asText() == column) {
                present = true;
                break;
            }
        }
        // A file without sale_records gets it whole from the takings script.
        const bool tableToCome = info.rows.empty() && QLatin1String(check.table) == QLatin1String("sale_records");
        if (!present && !tableToCome && !run(QLatin1String(check.alter), {}, nullptr, &error))
            failures << error;
    }
    return failures;
}

QStringList SqliteConnection::migrate(const QString& tillName)
{
    // The columns that older data files lack.
    static const ColumnCheck kChecks[] = {
        {"urunler", "stok", "ALTER TABLE urunler ADD COLUMN stok INTEGER DEFAULT 0;"},
        {"veresiyeler", "odemetarihi", "ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;"},
        {"odemeler", "fisno", "ALTER TABLE odemeler ADD COLUMN fisno INTEGER DEFAULT 0;"},
    };
    const QStringList failures = addMissingColumns(kChecks);
    // A file without the program's tables (or not a database at all) has been reported enough.
    if (!failures.isEmpty())
        return failures;
    return MigrateTakings(*this, tillName);
}

std::unique_ptr<RowBatch> SqliteConnection::rowBatch(const QString& table, const std::vector<BatchColumn>& columns,
                                                     QString* error)
{
    QStringList names;
    QStringList placeholders;
    for (const BatchColumn& column : columns) {
        names << column.name;
        placeholders << QStringLiteral("?");
    }
    std::unique_ptr<Cursor> insert = prepare(QStringLiteral("insert into %1 (%2) values (%3);")
                                                 .arg(table, names.join(QStringLiteral(", ")),
                                                      placeholders.join(QStringLiteral(", "))),
                                             error);
    if (!insert)
        return nullptr;
    return std::make_unique<SqliteRowBatch>(std::move(insert));
}

bool SqliteConnection::backupTo(const QString& targetPath, QString* error, const BackupProgress& progress)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
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
        const QString message = SqliteMessage(destination);
        sqlite3_close(destination);
        return discard(message, error);
    }
    sqlite3_busy_timeout(destination, kBusyTimeoutMs);

    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", m_db, "main");
    if (!backup) {
        const QString message = SqliteMessage(destination);
        sqlite3_close(destination);
        return discard(message, error);
    }
    int rc;
    int attempts = 0;
    bool stopped = false;
    // Without progress the copy is one step; with it, a thousand pages at a time.
    for (;;) {
        rc = sqlite3_backup_step(backup, progress ? 1024 : -1);
        if (rc == SQLITE_OK) {
            const int total = sqlite3_backup_pagecount(backup);
            if (!progress(total - sqlite3_backup_remaining(backup), total)) {
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

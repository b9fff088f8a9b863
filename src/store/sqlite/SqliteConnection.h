#pragma once

#include "store/Backup.h"
#include "store/Connection.h"

#include <QByteArray>
#include <map>
#include <span>

struct sqlite3;
struct sqlite3_stmt;

// The connection to data.db (or another SQLite file).
class SqliteConnection final : public Connection
{
public:
    // Opens an existing file for reading and writing; a missing file is not created. Nothing, with the engine's
    // words, on failure.
    static std::unique_ptr<SqliteConnection> open(const QString& path, QString* error);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    bool isConnected() const override { return true; }
    bool reconnect(QString*) override { return true; }
    bool isWorthKeeping() const override { return false; } // opening a file is quick
    // The engine asks the check every few thousand of its steps.
    void setCancelCheck(std::function<bool()> cancelled) override;

    bool run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result, QString* error) override;
    std::unique_ptr<Cursor> prepare(const QString& sql, QString* error) override;
    qint64 lastInsertId() override;

    bool canWrite(QString* reason) const override;
    bool inTransaction() const override;
    bool transactionFailed() const override;
    bool canCommit() const override { return true; } // a COMMIT that cannot store says why
    void rollback() override;

    // The columns older files lack (see addMissingColumns), then the takings records (MigrateTakings).
    QStringList migrate(const QString& tillName) override;
    std::unique_ptr<RowBatch> rowBatch(const QString& table, const std::vector<BatchColumn>& columns,
                                       QString* error) override;
    // Writes a consistent copy of the file to the target through SQLite's online backup, into a temporary file
    // beside it that is then renamed over it: the target is either as it was or the whole copy. False, with the
    // reason, on failure. With progress the copy goes a thousand pages at a time and reports pages done out of
    // the total after each; when it returns false the copy stops ("Cancelled"). Backing up onto the file itself
    // copies nothing.
    bool backupTo(const QString& targetPath, QString* error, const BackupProgress& progress);

    // A column that older files lack, and the statement that adds it.
    struct ColumnCheck
    {
        const char* table;
        const char* column;
        const char* alter;
    };
    // Adds each column its table lacks: the engine's words for each check that failed, in order (a failed check
    // does not stop the ones after it).
    QStringList addMissingColumns(std::span<const ColumnCheck> checks);
    // The file it opened.
    QString path() const { return m_path; }

private:
    SqliteConnection(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}
    // Steps a prepared statement to its end; its rows go to result when it returns columns.
    bool collect(sqlite3_stmt* stmt, QueryResult* result, QString* error);
    // Statements with bound values, kept by their SQL text until the connection closes.
    sqlite3_stmt* cachedStatement(const QByteArray& sql, QString* error);
    void clearStatementCache();

    sqlite3* m_db;
    QString m_path;
    std::function<bool()> m_cancelled;
    std::map<QByteArray, sqlite3_stmt*> m_statementCache;
};

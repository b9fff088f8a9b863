#pragma once

#include "store/DatabaseEngine.h"

// data.db: a file of SQLite's beside the program, or any other path that no other engine opens.
class SqliteEngine final : public DatabaseEngine
{
public:
    bool opens(const QString&) const override { return true; }
    std::unique_ptr<Connection> connect(const QString& location, StatementLimits limits,
                                        ConnectFailure* failure) const override;
    QString shownLocation(const QString& location) const override { return location; }

    QString caseInsensitiveLikeSql() const override { return QStringLiteral("like"); }
    QString anyValueSql(const QString& column) const override { return column; }
    QString lockForUpdateSql() const override { return QString(); }
    // IMMEDIATE takes the write lock at once, so a second running copy makes us wait here (busy timeout) rather
    // than fail halfway through the series.
    QString beginTransactionSql() const override { return QStringLiteral("BEGIN IMMEDIATE;"); }

    bool recordsTill() const override { return false; }

    // A backup is a copy of the file, made with SQLite's online backup and counted in pages; a restore copies it
    // over the data file, counted in megabytes.
    QString backupFileFilter() const override { return QStringLiteral("DB|*.db"); }
    QString backupFileSuffix() const override { return QStringLiteral("db"); }
    bool writeBackup(const QString& location, const QString& targetPath, QString* error,
                     const BackupProgress& progress) const override;
    RestoreResult restoreBackup(const QString& location, const QString& sourcePath,
                                const BackupProgress& progress) const override;
    bool restoreNeedsClosedConnection() const override { return true; }
};

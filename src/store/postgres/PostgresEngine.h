#pragma once

#include "store/DatabaseEngine.h"

// The shop's database on a PostgreSQL server, named by a libpq connection URI ("postgresql://till@shop-server/
// quenvale"), shared by several tills.
class PostgresEngine final : public DatabaseEngine
{
public:
    bool opens(const QString& location) const override;
    std::unique_ptr<Connection> connect(const QString& location, StatementLimits limits,
                                        ConnectFailure* failure) const override;
    QString shownLocation(const QString& location) const override;

    QString caseInsensitiveLikeSql() const override { return QStringLiteral("ilike"); }
    QString anyValueSql(const QString& column) const override { return QStringLiteral("max(%1)").arg(column); }
    QString lockForUpdateSql() const override { return QStringLiteral(" FOR UPDATE"); }
    QString beginTransactionSql() const override { return QStringLiteral("BEGIN;"); }

    bool recordsTill() const override { return true; }

    // A backup is a pg_dump archive, written and restored by the server's own tools (see ServerBackup.h), which
    // cannot say how far they have come.
    QString backupFileFilter() const override { return QStringLiteral("pg_dump|*.dump"); }
    QString backupFileSuffix() const override { return QStringLiteral("dump"); }
    bool writeBackup(const QString& location, const QString& targetPath, QString* error,
                     const BackupProgress& progress) const override;
    RestoreResult restoreBackup(const QString& location, const QString& sourcePath,
                                const BackupProgress& progress) const override;
    bool restoreNeedsClosedConnection() const override { return false; }
};

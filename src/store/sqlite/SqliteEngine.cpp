#include "store/sqlite/SqliteEngine.h"

#include "store/sqlite/DataFileBackup.h"
#include "store/sqlite/SqliteConnection.h"

std::unique_ptr<Connection> SqliteEngine::connect(const QString& location, StatementLimits,
                                                  ConnectFailure* failure) const
{
    // A file that cannot be opened is reported as the engine says it (it was not "unreachable").
    return SqliteConnection::open(location, &failure->message);
}

bool SqliteEngine::writeBackup(const QString& location, const QString& targetPath, QString* error,
                               const BackupProgress& progress) const
{
    const std::unique_ptr<SqliteConnection> connection = SqliteConnection::open(location, error);
    return connection && connection->backupTo(targetPath, error, progress);
}

RestoreResult SqliteEngine::restoreBackup(const QString& location, const QString& sourcePath,
                                          const BackupProgress& progress) const
{
    if (!progress)
        return CopyBackupOverDataFile(sourcePath, location);
    return CopyBackupOverDataFile(sourcePath, location, [&progress](qint64 bytesDone, qint64 bytesTotal) {
        constexpr qint64 kMiB = 1 << 20;
        return progress(bytesDone / kMiB, (bytesTotal + kMiB - 1) / kMiB);
    });
}

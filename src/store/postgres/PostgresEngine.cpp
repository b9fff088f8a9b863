#include "store/postgres/PostgresEngine.h"

#include "store/ServerUrl.h"
#include "store/postgres/PostgresConnection.h"
#include "store/postgres/ServerBackup.h"

bool PostgresEngine::opens(const QString& location) const
{
    return IsServerUrl(location);
}

std::unique_ptr<Connection> PostgresEngine::connect(const QString& location, StatementLimits limits,
                                                    ConnectFailure* failure) const
{
    std::unique_ptr<Connection> connection = PostgresConnection::connect(location, &failure->message, limits);
    failure->unreachable = !connection;
    return connection;
}

QString PostgresEngine::shownLocation(const QString& location) const
{
    return ShownServerUrl(location);
}

bool PostgresEngine::writeBackup(const QString& location, const QString& targetPath, QString* error,
                                 const BackupProgress& progress) const
{
    return DumpServerDatabase(location, targetPath, error, [&progress] { return progress(0, 0); });
}

RestoreResult PostgresEngine::restoreBackup(const QString& location, const QString& sourcePath,
                                            const BackupProgress& progress) const
{
    return RestoreServerDump(location, sourcePath, [&progress] { return progress(0, 0); });
}

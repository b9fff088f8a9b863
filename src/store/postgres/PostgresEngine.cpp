#include "store/postgres/PostgresEngine.h"

#include "store/ServerUrl.h"
#include "store/postgres/PostgresConnection.h"

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

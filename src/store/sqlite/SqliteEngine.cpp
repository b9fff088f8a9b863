#include "store/sqlite/SqliteEngine.h"

#include "store/sqlite/SqliteConnection.h"

std::unique_ptr<Connection> SqliteEngine::connect(const QString& location, StatementLimits,
                                                  ConnectFailure* failure) const
{
    // A file that cannot be opened is reported as the engine says it (it was not "unreachable").
    return SqliteConnection::open(location, &failure->message);
}

#include "store/DatabaseEngine.h"

#include "store/postgres/PostgresEngine.h"
#include "store/sqlite/SqliteEngine.h"

const DatabaseEngine& EngineFor(const QString& location)
{
    // In the order they are asked; data.db's engine takes any path.
    static const PostgresEngine postgres;
    static const SqliteEngine sqlite;
    static const DatabaseEngine* const kEngines[] = {&postgres, &sqlite};
    for (const DatabaseEngine* engine : kEngines) {
        if (engine->opens(location))
            return *engine;
    }
    return sqlite;
}

bool CanConnect(const QString& location, QString* reason)
{
    ConnectFailure failure;
    const bool connected = EngineFor(location).connect(location, {}, &failure) != nullptr;
    if (reason)
        *reason = failure.message;
    return connected;
}

#pragma once

#include "store/Connection.h"

#include <QString>
#include <memory>

// Why a connection could not be made.
struct ConnectFailure
{
    QString message;
    // The database could not be reached (a server that is not there, or turned the till away): reported apart
    // from a failed statement, naming the database.
    bool unreachable = false;
};

// One kind of database the program keeps its data in: how to connect to one, the few pieces of SQL in which the
// kinds differ, and what a user sees differ between them. The Database asks the engine its location names
// (EngineFor) and knows nothing else of it.
class DatabaseEngine
{
public:
    virtual ~DatabaseEngine() = default;

    // True when the location (a file's path, a server's URL) names a database of this engine.
    virtual bool opens(const QString& location) const = 0;
    // Opens an existing database; nothing, and why, on failure.
    virtual std::unique_ptr<Connection> connect(const QString& location, StatementLimits limits,
                                                ConnectFailure* failure) const = 0;
    // The location as a message may show it (a server's URL without its password).
    virtual QString shownLocation(const QString& location) const = 0;

    // LIKE that ignores the case of ASCII letters, as SQLite's does.
    virtual QString caseInsensitiveLikeSql() const = 0;
    // A column that is neither grouped nor aggregated: SQLite takes it from one of the group's rows, a server
    // wants it aggregated.
    virtual QString anyValueSql(const QString& column) const = 0;
    // Appended to a SELECT whose rows the transaction is about to update: a server locks them until the commit
    // (SQLite's transaction holds the whole file already).
    virtual QString lockForUpdateSql() const = 0;
    // Begins a transaction that writes.
    virtual QString beginTransactionSql() const = 0;

    // Several tills share the database: each sale and credit line records the till that wrote it (kasa).
    virtual bool recordsTill() const = 0;
    // Backed up and restored with the server's own tools (a pg_dump archive), not as a copy of a file.
    virtual bool backedUpByServerTools() const = 0;
};

// The engine of the database at the location: the first engine that opens it.
const DatabaseEngine& EngineFor(const QString& location);

// Connects to the database at the location once and lets go again: false, with the reason, when it cannot.
bool CanConnect(const QString& location, QString* reason);

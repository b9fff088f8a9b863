#pragma once

#include "store/Backup.h"
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
// kinds differ, what a user sees differ between them, and how a database of the kind is backed up. The Database
// asks the engine its location names (EngineFor) and knows nothing else of it; adding a kind is a folder of
// its own beside store/sqlite and store/postgres, and a line in EngineFor.
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

    // The Backup and Restore commands' files, as the file dialogs offer them: the filter ("DB|*.db") and the
    // suffix given to a name typed without one.
    virtual QString backupFileFilter() const = 0;
    virtual QString backupFileSuffix() const = 0;
    // Writes a backup of the database at the location to the file, which is either as it was or the whole
    // backup. False, with the reason, on failure ("Cancelled" when the progress stopped it). Safe on a worker
    // thread: it opens a connection of its own, or none.
    virtual bool writeBackup(const QString& location, const QString& targetPath, QString* error,
                             const BackupProgress& progress) const = 0;
    // Replaces the database at the location with the backup's. A file that is not a backup of this engine is
    // refused (NotADatabase) before the database is touched; one that fails or is stopped part way leaves the
    // old data. Safe on a worker thread.
    virtual RestoreResult restoreBackup(const QString& location, const QString& sourcePath,
                                        const BackupProgress& progress) const = 0;
    // The program's connection must be closed while a backup replaces the database (a file copied over the open
    // one would leave the connection on the old file); a server replaces its tables itself.
    virtual bool restoreNeedsClosedConnection() const = 0;
};

// The engine of the database at the location: the first engine that opens it.
const DatabaseEngine& EngineFor(const QString& location);

// Connects to the database at the location once and lets go again: false, with the reason, when it cannot.
bool CanConnect(const QString& location, QString* reason);

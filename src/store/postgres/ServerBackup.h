#pragma once

#include "store/Backup.h"

#include <QString>

#include <functional>

// Backups of a database on a server through PostgreSQL's own clients: pg_dump's custom format and pg_restore.
// They connect with the program's URL, handed to them in their environment (never on their command line), so
// passwords come from ~/.pgpass or a service file as for the program.
// keepGoing is asked often; when it says false the client is stopped and nothing has changed. Both are safe on
// a worker thread.

// Writes the dump through a temporary file beside the target: the target is either as it was or the whole dump.
bool DumpServerDatabase(const QString& url, const QString& targetPath, QString* error,
                        const std::function<bool()>& keepGoing);

// True when the file starts as a pg_dump custom-format archive.
bool IsServerDumpFile(const QString& path);

// Replaces the database's tables with those of the dump in one transaction: the old data stay unless the whole
// dump was restored. Anything but a pg_dump archive is refused (NotADatabase) before the server is touched.
RestoreResult RestoreServerDump(const QString& url, const QString& sourcePath, const std::function<bool()>& keepGoing);

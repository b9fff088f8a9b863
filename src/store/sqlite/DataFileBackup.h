#pragma once

#include "store/Backup.h"

#include <QString>

class Database;

// The part of a restore that touches no connection (the data file's own must be closed first, so no handle
// stays on the old file while it is replaced): the chosen file must be an SQLite database, anything else is
// refused; it is copied over the data file through a temporary file beside it, so the data file is either the
// old one or the whole new one. Progress is counted in bytes; a copy it stops leaves the old one (Cancelled).
// Restoring the data file onto itself copies nothing. Safe on a worker thread.
RestoreResult CopyBackupOverDataFile(const QString& sourcePath, const QString& dataFilePath,
                                     const BackupProgress& progress = {});

// A whole restore on the connection: closes it, copies (CopyBackupOverDataFile) and leaves it closed when the
// copy succeeded (the caller restarts or reopens); otherwise it is opened again on the old file.
RestoreResult RestoreDataFile(Database& db, const QString& sourcePath, const QString& dataFilePath);

// Opens the connection on the data file again and brings an older layout up to date.
bool ReopenDataFile(Database& db, const QString& dataFilePath);

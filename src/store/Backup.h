#pragma once

#include <QString>

class Database;
class Dialogs;
class QWidget;

// Copies the chosen file over the data file through a temporary file beside it, so the data file is either
// the old one or the whole new one. The file must be an SQLite database; anything else is refused before the
// connection is touched. The connection is closed for the copy and left closed when the copy succeeded (the
// caller restarts or reopens); after a failed copy it is opened again on the old file.
struct RestoreResult
{
    enum Outcome { Restored, NotADatabase, CopyFailed };
    Outcome outcome = CopyFailed;
    QString error;
};
RestoreResult RestoreDataFile(Database& db, const QString& sourcePath, const QString& dataFilePath);

// Opens the connection on the data file again and brings an older layout up to date.
bool ReopenDataFile(Database& db, const QString& dataFilePath);

// The Operations menu's "Backup..." and "Restore from Backup..." commands: the file dialogs start in
// startFolder and offer *.db files; failures are shown as error boxes through the dialogs.
void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder);
// Returns true when the restored data are in place and the user asked for a restart; on "No" the connection
// is already open on the restored data.
bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& dataFilePath,
                    const QString& startFolder);

#pragma once

#include <QString>

class Database;
class Dialogs;
class QWidget;

// The Operations menu's "Backup..." and "Restore from Backup..." commands: the file dialogs start in
// startFolder and offer *.db files; the copy runs on a worker with progress and Cancel; failures are shown as
// error boxes through the dialogs.
void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder);
// Returns true when the restored data are in place and the user asked for a restart; on "No" the connection
// is already open on the restored data. A cancelled restore leaves the old data, with the connection open.
bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& dataFilePath,
                    const QString& startFolder);

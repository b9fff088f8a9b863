#pragma once

#include <QString>

class Database;
class Dialogs;
class QWidget;

// The Operations menu's "Backup..." and "Restore from Backup..." commands for the open database, as its engine
// backs it up (see DatabaseEngine): the file dialogs start in startFolder and offer the engine's backup files
// (*.db files for data.db); the work runs on a worker with progress and Cancel; failures are shown as error
// boxes through the dialogs.
void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder);
// Returns true when the restored data are in place and the user asked for a restart; on "No" the connection
// is already open on the restored data. A cancelled restore leaves the old data, with the connection open.
bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder);

#include "store/ui/BackupCommands.h"

#include "app/Dialogs.h"
#include "app/ui/LongTaskRunner.h"
#include "i18n/Translator.h"
#include "store/Backup.h"
#include "store/WorkerConnection.h"

namespace {

Dialogs::FileRequest databaseFileRequest(const QString& caption, const QString& startFolder)
{
    Dialogs::FileRequest request;
    request.caption = caption;
    request.folder = startFolder;
    request.filter = QStringLiteral("DB|*.db");
    request.defaultSuffix = QStringLiteral("db");
    return request;
}

void showError(Dialogs& dialogs, QWidget* parent, const QString& text, const QString& reason)
{
    dialogs.error(parent, TranslateText("ERROR"),
                  reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
}

// A database on a server is not a file to copy: its own tools back it up.
bool RefusedOnServer(Dialogs& dialogs, QWidget* parent, const Database& db)
{
    if (!db.isOnServer())
        return false;
    const QString text =
        TranslateText("The database is on a server. Back it up and restore it there with pg_dump and pg_restore.");
    dialogs.warning(parent, TranslateText("WARNING"), text);
    return true;
}

} // namespace

void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder)
{
    if (RefusedOnServer(dialogs, parent, db))
        return;
    Dialogs::FileRequest request = databaseFileRequest(TranslateText("Backup..."), startFolder);
    request.confirmOverwrite = true;
    const QString target = dialogs.saveFile(parent, request);
    if (target.isEmpty())
        return;
    const QString dataFile = db.path();
    bool written = false;
    QString error;
    const bool finished = LongTaskRunner::run(parent, TranslateText("Backup..."), [&](LongTaskProgress& progress) {
        WorkerConnection connection(dataFile);
        if (!connection.isOpen()) {
            error = connection.errors().join(QLatin1Char('\n'));
            return;
        }
        written = connection.db().BackupTo(target, &error, [&progress](int pagesDone, int pagesTotal) {
            progress.setTotal(pagesTotal);
            progress.setDone(pagesDone);
            return !progress.cancelled();
        });
    });
    if (!written && finished)
        showError(dialogs, parent, TranslateText("The backup could not be written."), error);
}

bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& dataFilePath,
                    const QString& startFolder)
{
    if (RefusedOnServer(dialogs, parent, db))
        return false;
    const QString source = dialogs.openFile(parent, databaseFileRequest(TranslateText("Restore from Backup..."),
                                                                        startFolder));
    if (source.isEmpty())
        return false;
    // No handle may stay on the old file while it is replaced.
    db.close();
    RestoreResult result;
    LongTaskRunner::run(parent, TranslateText("Restore from Backup..."), [&](LongTaskProgress& progress) {
        result = CopyBackupOverDataFile(source, dataFilePath, [&progress](qint64 bytesDone, qint64 bytesTotal) {
            constexpr qint64 kMiB = 1 << 20;
            progress.setTotal((bytesTotal + kMiB - 1) / kMiB);
            progress.setDone(bytesDone / kMiB);
            return !progress.cancelled();
        });
    });
    switch (result.outcome) {
    case RestoreResult::NotADatabase:
        ReopenDataFile(db, dataFilePath);
        showError(dialogs, parent, TranslateText("The selected file is not a database backup. Nothing was restored."),
                  QString());
        return false;
    case RestoreResult::CopyFailed:
        ReopenDataFile(db, dataFilePath);
        showError(dialogs, parent, TranslateText("The backup could not be restored. The current data are unchanged."),
                  result.error);
        return false;
    case RestoreResult::Cancelled:
        ReopenDataFile(db, dataFilePath);
        return false;
    case RestoreResult::Restored:
        break;
    }
    if (dialogs.askYesNo(parent, TranslateText("Confirmation"), TranslateText("Restart Application?"),
                         Dialogs::Icon::Question))
        return true;
    ReopenDataFile(db, dataFilePath);
    return false;
}

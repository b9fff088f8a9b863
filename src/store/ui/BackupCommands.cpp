#include "store/ui/BackupCommands.h"

#include "app/Dialogs.h"
#include "app/ui/LongTaskRunner.h"
#include "i18n/Translator.h"
#include "store/Backup.h"
#include "store/WorkerConnection.h"
#include "store/postgres/ServerBackup.h"

namespace {

// data.db is backed up as a copy of the file, a database on a server as a pg_dump archive.
Dialogs::FileRequest databaseFileRequest(const QString& caption, const QString& startFolder, bool onServer)
{
    Dialogs::FileRequest request;
    request.caption = caption;
    request.folder = startFolder;
    request.filter = onServer ? QStringLiteral("pg_dump|*.dump") : QStringLiteral("DB|*.db");
    request.defaultSuffix = onServer ? QStringLiteral("dump") : QStringLiteral("db");
    return request;
}

void showError(Dialogs& dialogs, QWidget* parent, const QString& text, const QString& reason)
{
    dialogs.error(parent, TranslateText("ERROR"),
                  reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
}

} // namespace

void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder)
{
    const bool onServer = db.isOnServer();
    Dialogs::FileRequest request = databaseFileRequest(TranslateText("Backup..."), startFolder, onServer);
    request.confirmOverwrite = true;
    const QString target = dialogs.saveFile(parent, request);
    if (target.isEmpty())
        return;
    const QString dataFile = db.path();
    bool written = false;
    QString error;
    const bool finished = LongTaskRunner::run(parent, TranslateText("Backup..."), [&](LongTaskProgress& progress) {
        if (onServer) {
            written = DumpServerDatabase(dataFile, target, &error, [&progress] { return !progress.cancelled(); });
            return;
        }
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
    const bool onServer = db.isOnServer();
    const QString source = dialogs.openFile(
        parent, databaseFileRequest(TranslateText("Restore from Backup..."), startFolder, onServer));
    if (source.isEmpty())
        return false;
    const QString url = db.path();
    // No handle may stay on the old file while it is replaced; a server replaces its tables itself.
    if (!onServer)
        db.close();
    const auto reopen = [&] {
        if (onServer)
            db.Migrate(); // the dump may come from an older version
        else
            ReopenDataFile(db, dataFilePath);
    };
    RestoreResult result;
    LongTaskRunner::run(parent, TranslateText("Restore from Backup..."), [&](LongTaskProgress& progress) {
        if (onServer) {
            result = RestoreServerDump(url, source, [&progress] { return !progress.cancelled(); });
            return;
        }
        result = CopyBackupOverDataFile(source, dataFilePath, [&progress](qint64 bytesDone, qint64 bytesTotal) {
            constexpr qint64 kMiB = 1 << 20;
            progress.setTotal((bytesTotal + kMiB - 1) / kMiB);
            progress.setDone(bytesDone / kMiB);
            return !progress.cancelled();
        });
    });
    switch (result.outcome) {
    case RestoreResult::NotADatabase:
        reopen();
        showError(dialogs, parent, TranslateText("The selected file is not a database backup. Nothing was restored."),
                  QString());
        return false;
    case RestoreResult::CopyFailed:
        reopen();
        showError(dialogs, parent, TranslateText("The backup could not be restored. The current data are unchanged."),
                  result.error);
        return false;
    case RestoreResult::Cancelled:
        reopen();
        return false;
    case RestoreResult::Restored:
        break;
    }
    if (dialogs.askYesNo(parent, TranslateText("Confirmation"), TranslateText("Restart Application?"),
                         Dialogs::Icon::Question))
        return true;
    reopen();
    return false;
}

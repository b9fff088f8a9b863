#include "app/ui/BackupCommands.h"

#include "core/Dialogs.h"
#include "app/ui/LongTaskRunner.h"
#include "i18n/Translator.h"
#include "store/Database.h"
#include "store/DatabaseEngine.h"

namespace {

// The files the database's engine keeps its backups in (a copy of data.db, a server's pg_dump archive).
Dialogs::FileRequest databaseFileRequest(const QString& caption, const QString& startFolder,
                                         const DatabaseEngine& engine)
{
    Dialogs::FileRequest request;
    request.caption = caption;
    request.folder = startFolder;
    request.filter = engine.backupFileFilter();
    request.defaultSuffix = engine.backupFileSuffix();
    return request;
}

// Shows the engine's progress on the long task, and passes the user's Cancel back.
BackupProgress showProgress(LongTaskProgress& progress)
{
    return [&progress](qint64 done, qint64 total) {
        progress.setTotal(total);
        progress.setDone(done);
        return !progress.cancelled();
    };
}

void showError(Dialogs& dialogs, QWidget* parent, const QString& text, const QString& reason)
{
    dialogs.error(parent, TranslateText("ERROR"),
                  reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
}

} // namespace

void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder)
{
    const DatabaseEngine& engine = db.engine();
    Dialogs::FileRequest request = databaseFileRequest(TranslateText("Backup..."), startFolder, engine);
    request.confirmOverwrite = true;
    const QString target = dialogs.saveFile(parent, request);
    if (target.isEmpty())
        return;
    const QString location = db.path();
    bool written = false;
    QString error;
    const bool finished = LongTaskRunner::run(parent, TranslateText("Backup..."), [&](LongTaskProgress& progress) {
        written = engine.writeBackup(location, target, &error, showProgress(progress));
    });
    if (!written && finished)
        showError(dialogs, parent, TranslateText("The backup could not be written."), error);
}

bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder)
{
    const DatabaseEngine& engine = db.engine();
    const QString source =
        dialogs.openFile(parent, databaseFileRequest(TranslateText("Restore from Backup..."), startFolder, engine));
    if (source.isEmpty())
        return false;
    const QString location = db.path();
    if (engine.restoreNeedsClosedConnection())
        db.close();
    // The old data again, or the restored data of an older version: brought up to date either way.
    const auto reopen = [&] {
        if (db.isOpen() || db.open(location))
            db.Migrate();
    };
    RestoreResult result;
    LongTaskRunner::run(parent, TranslateText("Restore from Backup..."), [&](LongTaskProgress& progress) {
        result = engine.restoreBackup(location, source, showProgress(progress));
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

#include "store/Backup.h"

#include "app/Dialogs.h"
#include "i18n/Translator.h"
#include "store/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool copyFileAtomically(const QString& sourcePath, const QString& targetPath, QString* error)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = source.errorString();
        return false;
    }
    QSaveFile target(targetPath);
    // Unbuffered, so that a write that fails (a full disk) is seen here and not lost in a final flush that
    // QSaveFile::commit() does not check.
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = target.errorString();
        return false;
    }
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        // After a short write the rest is written again, and that write fails with the reason.
        for (qint64 done = 0; done < chunk.size();) {
            const qint64 count = target.write(chunk.constData() + done, chunk.size() - done);
            if (count <= 0) {
                *error = target.errorString();
                target.cancelWriting();
                return false;
            }
            done += count;
        }
    }
    if (source.error() != QFileDevice::NoError) {
        *error = source.errorString();
        target.cancelWriting();
        return false;
    }
    if (!target.commit()) {
        *error = target.errorString();
        return false;
    }
    return true;
}

void showError(Dialogs& dialogs, QWidget* parent, const QString& text, const QString& reason)
{
    dialogs.error(parent, TranslateText("ERROR"),
                  reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
}

} // namespace

RestoreResult RestoreDataFile(Database& db, const QString& sourcePath, const QString& dataFilePath)
{
    RestoreResult result;
    // The check opens the file with a handle of its own; on the data file itself the connection goes first.
    const QString canonicalSource = QFileInfo(sourcePath).canonicalFilePath();
    const bool isDataFile = !canonicalSource.isEmpty()
                            && canonicalSource == QFileInfo(dataFilePath).canonicalFilePath();
    if (isDataFile)
        db.close();
    if (!IsSqliteDatabaseFile(sourcePath)) {
        if (isDataFile)
            ReopenDataFile(db, dataFilePath);
        result.outcome = RestoreResult::NotADatabase;
        return result;
    }
    if (isDataFile) {
        result.outcome = RestoreResult::Restored;
        return result;
    }
    // No handle may stay on the old file while it is replaced.
    db.close();
    if (!copyFileAtomically(sourcePath, dataFilePath, &result.error)) {
        result.outcome = RestoreResult::CopyFailed;
        ReopenDataFile(db, dataFilePath);
        return result;
    }
    // A journal left beside the old file would be played back into the new one at the next open.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(dataFilePath + QLatin1String(suffix));
    result.outcome = RestoreResult::Restored;
    return result;
}

bool ReopenDataFile(Database& db, const QString& dataFilePath)
{
    if (!db.open(dataFilePath))
        return false;
    db.Migrate();
    return true;
}

void BackupCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& startFolder)
{
    Dialogs::FileRequest request = databaseFileRequest(TranslateText("Backup..."), startFolder);
    request.confirmOverwrite = true;
    const QString target = dialogs.saveFile(parent, request);
    if (target.isEmpty())
        return;
    QString error;
    if (!db.BackupTo(target, &error))
        showError(dialogs, parent, TranslateText("The backup could not be written."), error);
}

bool RestoreCommand(Dialogs& dialogs, QWidget* parent, Database& db, const QString& dataFilePath,
                    const QString& startFolder)
{
    const QString source = dialogs.openFile(parent, databaseFileRequest(TranslateText("Restore from Backup..."),
                                                                        startFolder));
    if (source.isEmpty())
        return false;
    const RestoreResult result = RestoreDataFile(db, source, dataFilePath);
    switch (result.outcome) {
    case RestoreResult::NotADatabase:
        showError(dialogs, parent, TranslateText("The selected file is not a database backup. Nothing was restored."),
                  QString());
        return false;
    case RestoreResult::CopyFailed:
        showError(dialogs, parent, TranslateText("The backup could not be restored. The current data are unchanged."),
                  result.error);
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

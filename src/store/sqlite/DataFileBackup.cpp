#include "store/sqlite/DataFileBackup.h"

#include "store/Database.h"
#include "store/sqlite/SqliteDatabaseFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// False with the reason, or with *stopped set when the progress stopped it; the target is then untouched.
bool copyFileAtomically(const QString& sourcePath, const QString& targetPath, QString* error,
                        const BackupProgress& progress, bool* stopped)
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
    const qint64 total = source.size();
    qint64 copied = 0;
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
        copied += chunk.size();
        if (progress && !progress(copied, total)) {
            *stopped = true;
            target.cancelWriting();
            return false;
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

} // namespace

RestoreResult CopyBackupOverDataFile(const QString& sourcePath, const QString& dataFilePath,
                                     const BackupProgress& progress)
{
    RestoreResult result;
    if (!IsSqliteDatabaseFile(sourcePath)) {
        result.outcome = RestoreResult::NotADatabase;
        return result;
    }
    const QString canonicalSource = QFileInfo(sourcePath).canonicalFilePath();
    if (canonicalSource == QFileInfo(dataFilePath).canonicalFilePath()) {
        result.outcome = RestoreResult::Restored;
        return result;
    }
    bool stopped = false;
    if (!copyFileAtomically(sourcePath, dataFilePath, &result.error, progress, &stopped)) {
        result.outcome = stopped ? RestoreResult::Cancelled : RestoreResult::CopyFailed;
        return result;
    }
    // A journal left beside the old file would be played back into the new one at the next open.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(dataFilePath + QLatin1String(suffix));
    result.outcome = RestoreResult::Restored;
    return result;
}

RestoreResult RestoreDataFile(Database& db, const QString& sourcePath, const QString& dataFilePath)
{
    db.close();
    const RestoreResult result = CopyBackupOverDataFile(sourcePath, dataFilePath);
    if (result.outcome != RestoreResult::Restored)
        ReopenDataFile(db, dataFilePath);
    return result;
}

bool ReopenDataFile(Database& db, const QString& dataFilePath)
{
    if (!db.open(dataFilePath))
        return false;
    db.Migrate();
    return true;
}

#include "store/DataFileTemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

bool CreateDataFileFromTemplate(const QString& dataFile, const QString& emptyDbPath)
{
    const QFileInfo target(dataFile);
    if (target.exists() || target.isSymLink() || !QFileInfo(emptyDbPath).isFile())
        return false;

    QFile source(emptyDbPath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;

    QTemporaryFile copy(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        return false;
    copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (copy.write(bytes) != bytes.size() || !copy.flush())
        return false;
#ifdef Q_OS_UNIX
    // A crash right after the rename must not leave an empty data.db that opens as a database without tables.
    if (::fsync(copy.handle()) != 0)
        return false;
#endif
    // QFile::rename does not replace an existing file; the temporary copy is removed on failure.
    if (!copy.rename(target.absoluteFilePath()))
        return false;
    copy.setAutoRemove(false);
    return true;
}

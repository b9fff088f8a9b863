#include "access/Secrets.h"

#include <QByteArray>

QString EncodeSecret(const QString& password)
{
    if (password.isEmpty())
        return QString();
    return QString::fromLatin1(password.toUtf8().toBase64());
}

QString DecodeSecret(const QString& stored)
{
    if (stored.isEmpty())
        return QString();
    return QString::fromUtf8(QByteArray::fromBase64(stored.trimmed().toLatin1()));
}

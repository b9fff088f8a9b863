#include "StoreFixture.h"

#include <QFile>

StoreTest::StoreTest()
{
    db.setErrorReporter([this](const QString& message) { reported << message; });
}

void StoreTest::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray StoreTest::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StoreTest::createDatabase(const QString& path, const QString& sql)
{
    // SQLite takes a zero-byte file for an empty database.
    writeFile(path, QByteArray());
    Database creator;
    QStringList errors;
    creator.setErrorReporter([&errors](const QString& message) { errors << message; });
    ASSERT_TRUE(creator.open(path));
    ASSERT_TRUE(creator.ExecuteDirect(sql)) << errors.join(QLatin1Char('\n')).toStdString();
}

void StoreTest::openNew(const QString& name, const QString& sql)
{
    createDatabase(pathOf(name), sql);
    ASSERT_TRUE(db.open(pathOf(name)));
}

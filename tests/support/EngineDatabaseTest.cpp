#include "support/EngineDatabaseTest.h"

#include <QFile>

void EngineDatabaseTest::SetUp()
{
    db.setErrorReporter([this](const QString& message) { reported << message; });
    if (onServer()) {
        server = std::make_unique<TestServerDatabase>();
        if (!server->available())
            GTEST_SKIP() << server->reason().toStdString();
        ASSERT_TRUE(db.open(server->url()));
    } else {
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("data.db"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUENVALE_RUNTIME_DIR "/empty.db"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        ASSERT_TRUE(db.open(path));
    }
    db.Migrate();
    ASSERT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
}

void EngineDatabaseTest::TearDown()
{
    db.close();
    server.reset();
}

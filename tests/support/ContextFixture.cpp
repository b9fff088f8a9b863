#include "support/ContextFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

} // namespace

void ContextFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    const QString runtime = QStringLiteral(QUENVALE_RUNTIME_DIR);
    ASSERT_TRUE(QFile::copy(runtime + QStringLiteral("/empty.db"), programFolder() + QStringLiteral("empty.db")));
    copyFolder(runtime + QStringLiteral("/Languages"), programFolder() + QStringLiteral("Languages"));
    env.exeFolder = programFolder();
    env.appDataFolder = m_dir.path() + QStringLiteral("/appdata");
}

void ContextFixture::TearDown()
{
    context.reset();
    m_server.reset();
}

void ContextFixture::writeSettings(const QStringList& keyValueLines)
{
    QFile file(dataFile(QStringLiteral("settings.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\r\n");
    for (const QString& line : m_serverSettings + keyValueLines)
        file.write(line.toUtf8() + "\r\n");
}

void ContextFixture::useServer(const QString& url, const QString& tillName)
{
    m_serverSettings = {QStringLiteral("DatabaseUrl=") + url, QStringLiteral("TillName=") + tillName};
    writeSettings({});
}

void ContextFixture::useNewDatabase(Engine engine)
{
    if (engine == Engine::Sqlite) {
        QFile::remove(dataFile(QStringLiteral("data.db")));
        return;
    }
    m_server = std::make_unique<TestServerDatabase>();
    if (!m_server->available())
        GTEST_SKIP() << m_server->reason().toStdString();
    useServer(m_server->url(), QStringLiteral("Till 1"));
}

AppContext& ContextFixture::startContext()
{
    context = std::make_unique<AppContext>(env, dialogs);
    EXPECT_TRUE(context->openDatabase());
    return *context;
}

void ContextFixture::pump(int milliseconds)
{
    QCoreApplication::processEvents();
    QTest::qWait(milliseconds > 0 ? milliseconds : 5);
    QCoreApplication::processEvents();
}

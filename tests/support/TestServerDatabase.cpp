#include "support/TestServerDatabase.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QUrl>

namespace {

QString ServerUrl()
{
    return qEnvironmentVariable("QUENVALE_TEST_PG_URL");
}

bool OnServer(const QString& sql, QString* error)
{
    Database admin;
    admin.setErrorReporter([error](const QString& message) { *error = message; });
    return admin.open(ServerUrl()) && admin.ExecuteDirect(sql);
}

} // namespace

TestServerDatabase::TestServerDatabase()
{
    if (ServerUrl().isEmpty()) {
        m_reason = QStringLiteral("no test server (scripts/test.sh starts one)");
        return;
    }
    static int counter = 0;
    m_name = QStringLiteral("quenvale_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    if (!OnServer(QStringLiteral("CREATE DATABASE %1;").arg(m_name), &m_reason)) {
        m_name.clear();
        return;
    }
    QUrl location(ServerUrl());
    location.setPath(QLatin1Char('/') + m_name);
    m_url = location.toString();
}

TestServerDatabase::~TestServerDatabase()
{
    QString ignored;
    if (!m_name.isEmpty())
        OnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(m_name), &ignored);
}

#include "EngineSaleFixture.h"

#include <QFile>

void EngineSaleFixture::SetUp()
{
    SaleFixture::SetUp();
    if (!HasFatalFailure() && onServer())
        renewDatabase();
}

void EngineSaleFixture::TearDown()
{
    SaleFixture::TearDown();
    m_server.reset(); // after the window, whose connection is closed by then
}

void EngineSaleFixture::renewDatabase()
{
    if (!onServer()) {
        QFile::remove(dataFile(QStringLiteral("data.db")));
        return;
    }
    m_server = std::make_unique<TestServerDatabase>();
    if (!m_server->available())
        GTEST_SKIP() << m_server->reason().toStdString();
    useServer(m_server->url(), QStringLiteral("Till 1"));
}

#pragma once

#include <QString>

// A database of its own on the PostgreSQL server the test script starts (QUENVALE_TEST_PG_URL), dropped again
// at the end. Tests of several processes run at once, so each one works in a database of its own.
class TestServerDatabase
{
public:
    TestServerDatabase();
    ~TestServerDatabase();
    TestServerDatabase(const TestServerDatabase&) = delete;
    TestServerDatabase& operator=(const TestServerDatabase&) = delete;

    // False when no test server runs (the test is then skipped) or the database could not be created.
    bool available() const { return !m_url.isEmpty(); }
    // The connection URI of the new database.
    QString url() const { return m_url; }
    // Why it is not available.
    QString reason() const { return m_reason; }

private:
    QString m_name;
    QString m_url;
    QString m_reason;
};

#pragma once

#include <QString>

// The bench's data set in a database of its own on a PostgreSQL server: created, given the program's tables (as
// the program creates them on first connect) and the rows of the generated data.db, and dropped again at the end.
class ServerDataSet
{
public:
    // serverUrl reaches the server (any of its databases); dataFile is the generated data.db, or empty for the
    // program's tables alone. The purpose names the database ("bench": quenvale_bench_<process id>).
    ServerDataSet(const QString& serverUrl, const QString& dataFile, const QString& purpose = QStringLiteral("bench"));
    ~ServerDataSet();
    ServerDataSet(const ServerDataSet&) = delete;
    ServerDataSet& operator=(const ServerDataSet&) = delete;

    bool ready() const { return !m_url.isEmpty(); }
    // The connection URI of the loaded database.
    QString url() const { return m_url; }
    // Why it is not ready.
    QString error() const { return m_error; }

private:
    bool load(const QString& dataFile);

    QString m_serverUrl;
    QString m_name;
    QString m_url;
    QString m_error;
};

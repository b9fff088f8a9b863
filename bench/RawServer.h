#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <libpq-fe.h>

// The result of one statement, cleared when it goes.
class RawResult
{
public:
    explicit RawResult(PGresult* result) : m_result(result) {}
    ~RawResult() { PQclear(m_result); }
    RawResult(const RawResult&) = delete;
    RawResult& operator=(const RawResult&) = delete;

    bool ok() const;
    int rows() const { return PQntuples(m_result); }
    const char* cell(int row, int column) const { return PQgetvalue(m_result, row, column); }
    int length(int row, int column) const { return PQgetlength(m_result, row, column); }
    QString text(int row, int column) const { return QString::fromUtf8(cell(row, column), length(row, column)); }
    PGresult* get() const { return m_result; }

private:
    PGresult* m_result;
};

// A connection of the baselines to the server: plain libpq, each statement prepared once by name and then run
// with text values, results in text form (what the screens show is text).
class RawServer
{
public:
    explicit RawServer(const QString& url);
    ~RawServer() { PQfinish(m_conn); }
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    bool isOpen() const { return PQstatus(m_conn) == CONNECTION_OK; }
    QString error() const { return QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(); }
    PGconn* get() const { return m_conn; }

    // A statement without values (BEGIN, COMMIT); false on failure.
    bool exec(const char* sql);
    bool prepare(const char* name, const char* sql);
    // Runs a prepared statement; values are NUL-terminated texts, nullptr for NULL.
    PGresult* run(const char* name, std::initializer_list<const char*> values);

private:
    PGconn* m_conn;
};

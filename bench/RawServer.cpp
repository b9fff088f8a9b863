#include "RawServer.h"

#include <vector>

bool RawResult::ok() const
{
    const ExecStatusType status = m_result ? PQresultStatus(m_result) : PGRES_FATAL_ERROR;
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
}

RawServer::RawServer(const QString& url)
    : m_conn(PQconnectdb(url.toUtf8().constData()))
{
    if (isOpen())
        PQclear(PQexec(m_conn, "SET client_min_messages TO warning;"));
}

bool RawServer::exec(const char* sql)
{
    return RawResult(PQexec(m_conn, sql)).ok();
}

bool RawServer::prepare(const char* name, const char* sql)
{
    return RawResult(PQprepare(m_conn, name, sql, 0, nullptr)).ok();
}

PGresult* RawServer::run(const char* name, std::initializer_list<const char*> values)
{
    const std::vector<const char*> pointers(values);
    return PQexecPrepared(m_conn, name, int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
}

#include "store/postgres/PostgresCursor.h"

#include "store/postgres/PostgresAnswers.h"

using namespace postgres;

PostgresCursor::PostgresCursor(pg_conn* conn, QByteArray sql, int parameterCount, std::function<bool()> cancelled)
    : m_conn(conn)
    , m_sql(std::move(sql))
    , m_values(static_cast<size_t>(parameterCount))
    , m_cancelled(std::move(cancelled))
{
}

PostgresCursor::~PostgresCursor()
{
    finish();
    PQclear(m_shape);
}

void PostgresCursor::bind(int index, const QVariant& value)
{
    if (index < 1 || index > static_cast<int>(m_values.size())) {
        m_error = QStringLiteral("column index out of range");
        return;
    }
    m_values[static_cast<size_t>(index - 1)] = value;
}

void PostgresCursor::bindAll(const std::vector<QVariant>& values)
{
    finish();
    for (QVariant& value : m_values)
        value = QVariant();
    for (size_t i = 0; i < values.size(); ++i)
        bind(static_cast<int>(i) + 1, values[i]);
}

bool PostgresCursor::start()
{
    const Parameters parameters(m_values);
    if (!PQsendQueryParams(m_conn, m_sql.constData(), parameters.count(), nullptr, parameters.values(), nullptr,
                           nullptr, 0)
        || !PQsetSingleRowMode(m_conn)) {
        m_error = ConnectionMessage(m_conn);
        finish();
        NoticeLostConnection(m_conn, false);
        return false;
    }
    m_running = true;
    return true;
}

void PostgresCursor::finish()
{
    PQclear(m_row);
    m_row = nullptr;
    if (!m_running)
        return;
    // The rest of the rows are not wanted: ask the server to stop sending them, then read what is left.
    SendCancel(m_conn);
    while (pg_result* rest = PQgetResult(m_conn))
        PQclear(rest);
    m_running = false;
}

bool PostgresCursor::next()
{
    if (!m_running) {
        if (!m_error.isEmpty() || !start())
            return false;
    }
    PQclear(m_row);
    m_row = nullptr;
    // The check is asked between rows, and while the server works on the next one.
    if ((m_cancelled && m_cancelled()) || AwaitResult(m_conn, m_cancelled)) {
        m_error = QStringLiteral("interrupted");
        finish();
        return false;
    }
    pg_result* result = PQgetResult(m_conn);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_SINGLE_TUPLE) {
        m_row = result;
        if (!m_shape)
            m_shape = PQcopyResult(result, PG_COPYRES_ATTRS);
        return true;
    }
    const bool failed = status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK;
    const bool answeredByServer = AnsweredByServer(result);
    if (!failed) {
        if (!m_shape)
            m_shape = PQcopyResult(result, PG_COPYRES_ATTRS);
    } else {
        m_error = ResultMessage(m_conn, result);
    }
    PQclear(result);
    while (pg_result* rest = PQgetResult(m_conn))
        PQclear(rest);
    m_running = false;
    if (failed)
        NoticeLostConnection(m_conn, answeredByServer);
    return false;
}

bool PostgresCursor::exec()
{
    reset();
    while (next()) {
    }
    return m_error.isEmpty();
}

void PostgresCursor::reset()
{
    finish();
    m_error.clear();
}

bool PostgresCursor::hasCell(int column) const
{
    return m_row && column >= 0 && column < PQnfields(m_row);
}

const pg_result* PostgresCursor::shape() const
{
    if (m_row)
        return m_row;
    if (m_shape || m_running || !m_error.isEmpty())
        return m_shape;
    // Prepared as the unnamed statement, which the next run replaces anyway. A statement the server refuses keeps
    // its error, so that the first next() fails with it instead of running.
    pg_result* prepared = PQprepare(m_conn, "", m_sql.constData(), static_cast<int>(m_values.size()), nullptr);
    pg_result* described = prepared && PQresultStatus(prepared) == PGRES_COMMAND_OK ? PQdescribePrepared(m_conn, "")
                                                                                      : nullptr;
    if (described && PQresultStatus(described) == PGRES_COMMAND_OK) {
        m_shape = described;
    } else {
        pg_result* failed = described ? described : prepared;
        m_error = ResultMessage(m_conn, failed);
        NoticeLostConnection(m_conn, AnsweredByServer(failed));
        PQclear(described);
    }
    PQclear(prepared);
    return m_shape;
}

int PostgresCursor::columnCount() const
{
    const pg_result* columns = shape();
    return columns ? PQnfields(columns) : 0;
}

QString PostgresCursor::columnName(int column) const
{
    const pg_result* columns = shape();
    const char* name = columns ? PQfname(columns, column) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool PostgresCursor::isNull(int column) const
{
    return !hasCell(column) || PQgetisnull(m_row, 0, column);
}

QString PostgresCursor::text(int column) const
{
    return value(column).asText();
}

QByteArrayView PostgresCursor::utf8(int column) const
{
    if (!hasCell(column) || PQgetisnull(m_row, 0, column))
        return {};
    return QByteArrayView(PQgetvalue(m_row, 0, column), PQgetlength(m_row, 0, column));
}

// Numbers of integer and real columns are read in place, as value() would read them; the rest follows DbValue's
// rules.
qint64 PostgresCursor::integer(int column) const
{
    if (hasCell(column) && !PQgetisnull(m_row, 0, column)) {
        const Oid type = PQftype(m_row, column);
        if (IsInteger(type))
            return IntegerCell(CellText(m_row, 0, column), type);
    }
    return value(column).asInteger();
}

double PostgresCursor::real(int column) const
{
    if (hasCell(column) && !PQgetisnull(m_row, 0, column)) {
        const Oid type = PQftype(m_row, column);
        if (IsInteger(type))
            return double(IntegerCell(CellText(m_row, 0, column), type));
        if (type == kFloat4 || type == kFloat8)
            return RealText(CellText(m_row, 0, column));
    }
    return value(column).asDouble();
}

DbValue PostgresCursor::value(int column) const
{
    return hasCell(column) ? Cell(m_row, 0, column) : DbValue();
}

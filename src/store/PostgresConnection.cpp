#include "store/PostgresConnection.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>

#include <libpq-fe.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <poll.h>

namespace {

// libpq's type numbers of the columns read as numbers (pg_type.oid).
constexpr Oid kBool = 16;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

constexpr const char* kConnectTimeoutSeconds = "5";
// A quiet connection is probed after 4 s, then every 2 s, and given up after 3 probes without an answer; data
// sent stays unacknowledged for 10 s at most.
constexpr const char* kKeepalivesIdleSeconds = "4";
constexpr const char* kKeepalivesIntervalSeconds = "2";
constexpr const char* kKeepalivesCount = "3";
constexpr const char* kUnacknowledgedMilliseconds = "10000";

QString Trimmed(const char* message)
{
    return QString::fromUtf8(message).trimmed();
}

QString ConnectionMessage(const pg_conn* conn)
{
    const QString message = conn ? Trimmed(PQerrorMessage(conn)) : QString();
    return message.isEmpty() ? QStringLiteral("The database server could not be reached") : message;
}

QString ResultMessage(const pg_conn* conn, const pg_result* result)
{
    const QString message = result ? Trimmed(PQresultErrorMessage(result)) : QString();
    return message.isEmpty() ? ConnectionMessage(conn) : message;
}

// A statement that failed without an answer from the server (no SQLSTATE) may have met a connection the server
// closed after a warning, as an immediate shutdown does. libpq still calls such a connection open until it reads
// from it again; reading what is left lets it see the end, so that isConnected() says so and the next statement
// connects anew instead of failing on the dead connection as well.
void NoticeLostConnection(pg_conn* conn, bool answeredByServer)
{
    if (!answeredByServer && PQstatus(conn) == CONNECTION_OK)
        PQconsumeInput(conn);
}

bool AnsweredByServer(const pg_result* result)
{
    return result && PQresultErrorField(result, PG_DIAG_SQLSTATE) != nullptr;
}

bool Failed(const pg_result* result)
{
    if (!result)
        return false;
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_BAD_RESPONSE || status == PGRES_NONFATAL_ERROR || status == PGRES_FATAL_ERROR;
}

// Asks the server to stop the statement running on the connection (a connection of its own carries the request).
void SendCancel(pg_conn* conn)
{
    if (PGcancel* cancel = PQgetCancel(conn)) {
        char ignored[256];
        PQcancel(cancel, ignored, sizeof ignored);
        PQfreeCancel(cancel);
    }
}

// How often a wait for the server asks the cancel check, and how long after a cancel request it sends another:
// the server drops a request that comes before it has started the statement.
constexpr int kCancelCheckMs = 50;
constexpr qint64 kCancelRepeatMs = 1000;

// Reads what the server sends until the next result of the statement sent last is ready (PQgetResult then
// returns it without waiting). Meanwhile the cancel check is asked every few milliseconds; once it says so, the
// server is asked to stop the statement, until it has. True when the check said so. Without a check this only
// waits, as PQgetResult would.
bool AwaitResult(pg_conn* conn, const std::function<bool()>& cancelled)
{
    bool cancelSent = false;
    QElapsedTimer sinceCancel;
    while (PQisBusy(conn)) {
        if (cancelled && (cancelSent ? sinceCancel.hasExpired(kCancelRepeatMs) : cancelled())) {
            SendCancel(conn);
            cancelSent = true;
            sinceCancel.start();
        }
        pollfd socket{PQsocket(conn), POLLIN, 0};
        if (socket.fd < 0)
            break;
        const int ready = poll(&socket, 1, cancelled ? kCancelCheckMs : -1);
        if ((ready < 0 && errno != EINTR) || (ready > 0 && !PQconsumeInput(conn)))
            break; // the connection failed: PQgetResult says so
    }
    return cancelSent;
}

// The answer to the statement sent last as PQexec gives it: the first failure, else the last result. True in
// interrupted when the cancel check stopped the statement.
pg_result* CollectAnswer(pg_conn* conn, const std::function<bool()>& cancelled, bool* interrupted)
{
    pg_result* answer = nullptr;
    *interrupted = false;
    for (;;) {
        *interrupted = AwaitResult(conn, cancelled) || *interrupted;
        pg_result* next = PQgetResult(conn);
        if (!next)
            break;
        if (Failed(answer)) {
            PQclear(next);
            continue;
        }
        PQclear(answer);
        answer = next;
        // COPY waits for its rows; the caller sends them.
        const ExecStatusType status = PQresultStatus(answer);
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH)
            break;
    }
    return answer;
}

// A bound value as the text the server reads; a null value stays null.
QByteArray ParameterText(const QVariant& value, bool* isNull)
{
    *isNull = value.isNull();
    if (*isNull)
        return QByteArray();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Float:
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    case QMetaType::QByteArray:
        return value.toByteArray();
    default:
        return value.toString().toUtf8();
    }
}

struct Parameters
{
    std::vector<QByteArray> texts;
    std::vector<const char*> pointers;

    explicit Parameters(const std::vector<QVariant>& values)
    {
        texts.reserve(values.size());
        for (const QVariant& value : values) {
            bool isNull = false;
            texts.push_back(ParameterText(value, &isNull));
            pointers.push_back(nullptr);
            if (!isNull)
                pointers.back() = texts.back().constData();
        }
    }
    int count() const { return static_cast<int>(pointers.size()); }
    const char* const* values() const { return pointers.empty() ? nullptr : pointers.data(); }
};

bool IsInteger(Oid type)
{
    return type == kInt8 || type == kInt2 || type == kInt4 || type == kOid || type == kBool;
}

// The server's text of a cell, read in place.
QByteArrayView CellText(const pg_result* result, int row, int column)
{
    return QByteArrayView(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

// The server prints integers and doubles in the plain forms that std::from_chars reads exactly as Qt's
// conversions do, at a fraction of their cost (a long history reads two numbers a row); anything else (blanks,
// a plus sign, out of range, Infinity, NaN, subnormals) is left to Qt.
qint64 IntegerText(QByteArrayView text, bool* ok = nullptr)
{
    qint64 value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure == std::errc() && end == text.data() + text.size()) {
        if (ok)
            *ok = true;
        return value;
    }
    return text.toLongLong(ok);
}

double RealText(QByteArrayView text)
{
    double value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure == std::errc() && end == text.data() + text.size() && (value == 0 || std::isnormal(value)))
        return value;
    return text.toDouble();
}

qint64 IntegerCell(QByteArrayView text, Oid type)
{
    if (type == kBool)
        return text.startsWith('t') ? 1 : 0;
    return IntegerText(text);
}

// A price column keeps a whole number as an integer in data.db (its NUMERIC affinity) and reads "2", not "2.0";
// a computed real (a sum) stays a real there as well.
bool RealReadsAsInteger(const pg_result* result, int column, double real)
{
    return PQftable(result, column) != InvalidOid && std::trunc(real) == real && std::abs(real) < 9.2e18;
}

DbValue Cell(const pg_result* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return DbValue();
    const QByteArrayView text = CellText(result, row, column);
    const Oid type = PQftype(result, column);
    if (IsInteger(type))
        return DbValue(QVariant(IntegerCell(text, type)));
    if (type == kFloat4 || type == kFloat8) {
        const double real = RealText(text);
        if (RealReadsAsInteger(result, column, real))
            return DbValue(QVariant(static_cast<qint64>(real)));
        return DbValue(real, QString()); // printed as SQLite prints a real
    }
    if (type == kNumeric) {
        bool whole = false;
        const qint64 integer = IntegerText(text, &whole);
        if (whole)
            return DbValue(QVariant(integer));
        return DbValue(text.toDouble(), QString());
    }
    return DbValue(QVariant(QString::fromUtf8(text)));
}

} // namespace

bool CanConnectToServer(const QString& url, QString* reason)
{
    return PostgresConnection::connect(url, reason) != nullptr;
}

QByteArray PostgresStatementText(const QString& sql, int* count)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 8);
    int largest = 0;
    char quote = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (quote) {
            out += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            continue;
        }
        if (c != '?') {
            out += c;
            continue;
        }
        qsizetype end = i + 1;
        while (end < in.size() && in[end] >= '0' && in[end] <= '9')
            ++end;
        const int number = end > i + 1 ? in.mid(i + 1, end - i - 1).toInt() : largest + 1;
        largest = std::max(largest, number);
        out += '$' + QByteArray::number(number);
        i = end - 1;
    }
    if (count)
        *count = largest;
    return out;
}

// ---- PostgresCursor ----

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

void PostgresCursor::clearBindings()
{
    finish();
    for (QVariant& value : m_values)
        value = QVariant();
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

// ---- PostgresConnection ----

std::unique_ptr<PostgresConnection> PostgresConnection::connect(const QString& url, QString* error,
                                                                StatementLimits limits)
{
    const QByteArray location = url.toUtf8();
    // The URL's own settings come after ours and take their place.
    const char* keywords[] = {"connect_timeout",    "keepalives",         "keepalives_idle", "keepalives_interval",
                              "keepalives_count",   "tcp_user_timeout",   "client_encoding", "dbname",
                              nullptr};
    const char* values[] = {kConnectTimeoutSeconds,     "1",
                            kKeepalivesIdleSeconds,     kKeepalivesIntervalSeconds,
                            kKeepalivesCount,           kUnacknowledgedMilliseconds,
                            "UTF8",                     location.constData(),
                            nullptr};
    pg_conn* conn = PQconnectdbParams(keywords, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        if (error) // libpq may quote the URL, or a part of it it cannot read
            *error = WithoutPassword(ConnectionMessage(conn), url);
        PQfinish(conn);
        return nullptr;
    }
    std::unique_ptr<PostgresConnection> connection(new PostgresConnection(conn, limits));
    if (!connection->configureSession(error))
        return nullptr;
    return connection;
}

bool PostgresConnection::configureSession(QString* error)
{
    PQclear(PQexec(m_conn, "SET client_min_messages TO warning;"));
    const std::pair<const char*, int> limits[] = {{"statement_timeout", m_limits.statementSeconds},
                                                  {"lock_timeout", m_limits.lockSeconds}};
    for (const auto& [name, seconds] : limits) {
        if (seconds <= 0)
            continue; // the server's own setting
        const QByteArray milliseconds = QByteArray::number(qint64(seconds) * 1000);
        const char* values[] = {name, milliseconds.constData()};
        pg_result* answer = PQexecParams(m_conn, "SELECT set_config($1, $2, false);", 2, nullptr, values, nullptr,
                                         nullptr, 0);
        const bool set = PQresultStatus(answer) == PGRES_TUPLES_OK;
        if (!set && error)
            *error = ResultMessage(m_conn, answer);
        PQclear(answer);
        if (!set)
            return false;
    }
    return true;
}

PostgresConnection::~PostgresConnection()
{
    PQfinish(m_conn);
}

bool PostgresConnection::isConnected() const
{
    return PQstatus(m_conn) == CONNECTION_OK;
}

bool PostgresConnection::isIdle() const
{
    if (PQstatus(m_conn) != CONNECTION_OK || PQtransactionStatus(m_conn) != PQTRANS_IDLE)
        return false;
    pollfd socket{PQsocket(m_conn), POLLIN, 0};
    return poll(&socket, 1, 0) == 0;
}

bool PostgresConnection::reconnect(QString* error)
{
    m_prepared.clear(); // a new session has none of them
    PQreset(m_conn);
    if (isConnected())
        return configureSession(error);
    if (error)
        *error = ConnectionMessage(m_conn);
    return false;
}

bool PostgresConnection::run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result,
                             QString* error, const std::function<bool()>& cancelled)
{
    bool sent = false;
    if (params.empty()) {
        sent = PQsendQuery(m_conn, PostgresStatementText(sql).constData());
    } else {
        const Prepared* statement = prepared(sql, static_cast<int>(params.size()), error);
        if (!statement)
            return false;
        const Parameters parameters(params);
        sent = PQsendQueryPrepared(m_conn, statement->name.constData(), parameters.count(), parameters.values(),
                                   nullptr, nullptr, 0);
    }
    bool interrupted = false;
    pg_result* answer = sent ? CollectAnswer(m_conn, cancelled, &interrupted) : nullptr;
    const ExecStatusType status = answer ? PQresultStatus(answer) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
        if (error)
            *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
        const bool answeredByServer = AnsweredByServer(answer);
        PQclear(answer);
        NoticeLostConnection(m_conn, answeredByServer);
        return false;
    }
    if (result && status == PGRES_TUPLES_OK) {
        const int columns = PQnfields(answer);
        const int rows = PQntuples(answer);
        result->columns.clear();
        for (int c = 0; c < columns; ++c)
            result->columns.push_back(QString::fromUtf8(PQfname(answer, c)));
        result->rows.clear();
        result->rows.reserve(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            std::vector<DbValue> row;
            row.reserve(static_cast<size_t>(columns));
            for (int c = 0; c < columns; ++c)
                row.push_back(Cell(answer, r, c));
            result->rows.push_back(std::move(row));
        }
    }
    PQclear(answer);
    return true;
}

const PostgresConnection::Prepared* PostgresConnection::prepared(const QString& sql, int valueCount, QString* error)
{
    const auto countMismatch = [&](int expected) {
        if (expected == valueCount)
            return false;
        if (error)
            *error = QStringLiteral("%1 values bound to a statement with %2 parameters").arg(valueCount).arg(expected);
        return true;
    };
    auto found = m_prepared.constFind(sql);
    if (found == m_prepared.constEnd()) {
        int expected = 0;
        const QByteArray text = PostgresStatementText(sql, &expected);
        if (countMismatch(expected))
            return nullptr;
        if (m_prepared.size() >= 64) {
            // The program has fewer statements than this; text built from data would otherwise pile up.
            PQclear(PQexec(m_conn, "DEALLOCATE ALL;"));
            m_prepared.clear();
        }
        const QByteArray name = "quenvale_" + QByteArray::number(++m_preparedCount);
        pg_result* answer = PQprepare(m_conn, name.constData(), text.constData(), 0, nullptr);
        const bool ok = answer && PQresultStatus(answer) == PGRES_COMMAND_OK;
        if (!ok && error)
            *error = ResultMessage(m_conn, answer);
        PQclear(answer);
        if (!ok)
            return nullptr;
        found = m_prepared.insert(sql, {name, expected});
    } else if (countMismatch(found->parameters)) {
        return nullptr;
    }
    return &*found;
}

std::unique_ptr<PostgresCursor> PostgresConnection::prepare(const QString& sql, std::function<bool()> cancelled,
                                                            QString* error)
{
    int count = 0;
    QByteArray text = PostgresStatementText(sql, &count);
    if (text.trimmed().isEmpty()) {
        *error = QStringLiteral("Not an SQL statement");
        return nullptr;
    }
    return std::make_unique<PostgresCursor>(m_conn, std::move(text), count, std::move(cancelled));
}

bool PostgresConnection::copyIn(const QString& copyStatement, const QByteArray& rows, QString* error,
                                const std::function<bool()>& cancelled)
{
    bool interrupted = false;
    pg_result* answer = PQsendQuery(m_conn, copyStatement.toUtf8().constData())
                            ? CollectAnswer(m_conn, cancelled, &interrupted)
                            : nullptr;
    if (PQresultStatus(answer) != PGRES_COPY_IN) {
        *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
        PQclear(answer);
        return false;
    }
    PQclear(answer);
    const bool sent = PQputCopyData(m_conn, rows.constData(), int(rows.size())) == 1;
    if (PQputCopyEnd(m_conn, sent ? nullptr : "the rows could not be sent") != 1) {
        *error = ConnectionMessage(m_conn);
        return false;
    }
    answer = CollectAnswer(m_conn, cancelled, &interrupted);
    const bool stored = PQresultStatus(answer) == PGRES_COMMAND_OK;
    if (!stored)
        *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
    PQclear(answer);
    return stored;
}

bool PostgresConnection::inTransaction() const
{
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

bool PostgresConnection::transactionFailed() const
{
    return PQtransactionStatus(m_conn) == PQTRANS_INERROR;
}

qint64 PostgresConnection::lastInsertId()
{
    pg_result* answer = PQexec(m_conn, "SELECT lastval();");
    qint64 id = 0;
    if (PQresultStatus(answer) == PGRES_TUPLES_OK && PQntuples(answer) == 1)
        id = QByteArray(PQgetvalue(answer, 0, 0)).toLongLong();
    PQclear(answer);
    return id;
}

bool PostgresConnection::createOrMigrateSchema(QString* error)
{
    // The tables and columns of data.db (with the takings records of data/takings.sql), and the till (kasa) on
    // each sale and credit line. Texts compare byte by
    // byte as SQLite's do, dates are kept as the same "yyyy-MM-dd HH:mm:ss" text, prices are doubles as SQLite's
    // reals are, and ids are identity columns. schema_version keeps the fingerprint of each script that has
    // run, so any change to the script runs it once more on every database.
    static const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS schema_version (fingerprint text PRIMARY KEY);
CREATE TABLE IF NOT EXISTS urunler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  fiyat double precision,
  stok bigint DEFAULT 0,
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE TABLE IF NOT EXISTS musteriler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  musteriadi text COLLATE "C",
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE TABLE IF NOT EXISTS veresiyeler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  musteriid bigint,
  musteriadi text COLLATE "C",
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  adet bigint,
  fiyat double precision,
  odendimi integer DEFAULT 0,
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS'),
  odemetarihi text COLLATE "C"
);
CREATE TABLE IF NOT EXISTS odemeler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  fisno bigint DEFAULT 0,
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  adet bigint,
  fiyat double precision,
  odemetarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE INDEX IF NOT EXISTS urunler_barkod ON urunler (barkod);
CREATE INDEX IF NOT EXISTS urunler_urunadi ON urunler (urunadi);
CREATE INDEX IF NOT EXISTS musteriler_musteriadi ON musteriler (musteriadi);
CREATE INDEX IF NOT EXISTS veresiyeler_musteriadi_odendimi ON veresiyeler (musteriadi, odendimi);
CREATE INDEX IF NOT EXISTS veresiyeler_kayittarihi ON veresiyeler (kayittarihi);
CREATE INDEX IF NOT EXISTS odemeler_odemetarihi ON odemeler (odemetarihi);
ALTER TABLE urunler ADD COLUMN IF NOT EXISTS stok bigint DEFAULT 0;
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS odemetarihi text COLLATE "C";
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS fisno bigint DEFAULT 0;
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS kasa text COLLATE "C";
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS kasa text COLLATE "C";

CREATE TABLE IF NOT EXISTS sale_records (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  sale_id text COLLATE "C" NOT NULL UNIQUE,
  till text COLLATE "C" NOT NULL,
  receipt_no bigint,
  recorded_at text COLLATE "C" NOT NULL,
  kind text COLLATE "C" NOT NULL,
  customer_id bigint,
  customer_name text COLLATE "C",
  subtotal_cents bigint NOT NULL,
  discount_cents bigint NOT NULL,
  total_cents bigint NOT NULL
);
CREATE INDEX IF NOT EXISTS sale_records_recorded_at ON sale_records (recorded_at);
CREATE INDEX IF NOT EXISTS sale_records_till_receipt_no ON sale_records (till, receipt_no);
CREATE TABLE IF NOT EXISTS tenders (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  sale_id text COLLATE "C" NOT NULL,
  position integer NOT NULL,
  tender_type text COLLATE "C" NOT NULL,
  amount_cents bigint NOT NULL,
  handed_cents bigint,
  change_cents bigint
);
CREATE INDEX IF NOT EXISTS tenders_sale_id ON tenders (sale_id);
CREATE TABLE IF NOT EXISTS tender_types (
  code text COLLATE "C" PRIMARY KEY,
  name text COLLATE "C" NOT NULL,
  enabled integer NOT NULL DEFAULT 1,
  built_in integer NOT NULL DEFAULT 0,
  position integer NOT NULL
);
INSERT INTO tender_types (code, name, enabled, built_in, position)
  VALUES ('Cash', 'Cash', 1, 1, 1), ('Card', 'Card', 1, 1, 2), ('Account', 'Account', 1, 1, 3)
  ON CONFLICT DO NOTHING;
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS sale_id text COLLATE "C";
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS sale_id text COLLATE "C";
CREATE INDEX IF NOT EXISTS odemeler_sale_id ON odemeler (sale_id);
CREATE INDEX IF NOT EXISTS veresiyeler_sale_id ON veresiyeler (sale_id);
CREATE OR REPLACE FUNCTION takings_records_are_never_changed() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN RAISE EXCEPTION ''takings records are never changed''; END';
CREATE OR REPLACE TRIGGER sale_records_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON sale_records
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE TRIGGER tenders_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON tenders
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE FUNCTION used_tender_types_stay() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN
     IF OLD.built_in <> 0 OR EXISTS (SELECT 1 FROM tenders WHERE tender_type = OLD.code) THEN
       RAISE EXCEPTION ''a payment type that was used is never removed'';
     END IF;
     RETURN OLD;
   END';
CREATE OR REPLACE TRIGGER tender_types_used_stay BEFORE DELETE ON tender_types
  FOR EACH ROW EXECUTE FUNCTION used_tender_types_stay();

-- Sales stored before there were records get one each, built from their lines: paid lines grouped by receipt
-- number, time and till, paid in cash (receipt number 0: a settlement of credit when credit lines were paid at
-- that time, with the customer of the first of them); credit lines grouped by customer, time and till, on
-- account. The lines then carry their record's id.
CREATE TEMP TABLE old_records ON COMMIT DROP AS
  SELECT 1 AS source, coalesce(fisno, 0) AS k_receipt, -1::bigint AS k_customer, ''::text AS k_name,
         coalesce(odemetarihi, '') AS recorded_at, coalesce(kasa, '') AS till,
         'sale'::text AS kind, NULL::bigint AS customer_id, NULL::text AS customer_name, 'Cash'::text AS tender_type,
         greatest(least(sum(round(fiyat * 100) * adet), 9e18), -9e18)::bigint AS total_cents, NULL::text AS sale_id
  FROM odemeler WHERE sale_id IS NULL GROUP BY 2, 5, 6
  UNION ALL
  SELECT 2, 0, coalesce(musteriid, -1), coalesce(musteriadi, ''), coalesce(kayittarihi, ''), coalesce(kasa, ''),
         'sale', min(musteriid), min(musteriadi), 'Account',
         greatest(least(sum(round(fiyat * 100) * adet), 9e18), -9e18)::bigint, NULL
  FROM veresiyeler WHERE sale_id IS NULL GROUP BY 3, 4, 5, 6;
ANALYZE old_records;
UPDATE old_records SET total_cents = 0 WHERE total_cents IS NULL;
UPDATE old_records g SET kind = 'settlement', customer_id = v.musteriid, customer_name = v.musteriadi
  FROM (SELECT DISTINCT ON (odemetarihi, coalesce(kasa, '')) odemetarihi, coalesce(kasa, '') AS till, musteriid,
               musteriadi
        FROM veresiyeler WHERE odendimi = 1 AND odemetarihi IS NOT NULL
        ORDER BY odemetarihi, coalesce(kasa, ''), id) v
  WHERE g.source = 1 AND g.k_receipt = 0 AND v.odemetarihi = g.recorded_at AND v.till = g.till;
UPDATE old_records SET sale_id = gen_random_uuid()::text;
INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, customer_id, customer_name, subtotal_cents,
                          discount_cents, total_cents)
  SELECT sale_id, till, nullif(k_receipt, 0), recorded_at, kind, customer_id, customer_name, total_cents, 0,
         total_cents
  FROM old_records ORDER BY recorded_at, source, k_receipt, till;
INSERT INTO tenders (sale_id, position, tender_type, amount_cents)
  SELECT sale_id, 1, tender_type, total_cents FROM old_records ORDER BY recorded_at, source, k_receipt, till;
UPDATE odemeler o SET sale_id = g.sale_id FROM old_records g
  WHERE o.sale_id IS NULL AND g.source = 1 AND g.k_receipt = coalesce(o.fisno, 0)
    AND g.recorded_at = coalesce(o.odemetarihi, '') AND g.till = coalesce(o.kasa, '');
UPDATE veresiyeler v SET sale_id = g.sale_id FROM old_records g
  WHERE v.sale_id IS NULL AND g.source = 2 AND g.k_customer = coalesce(v.musteriid, -1)
    AND g.k_name = coalesce(v.musteriadi, '') AND g.recorded_at = coalesce(v.kayittarihi, '')
    AND g.till = coalesce(v.kasa, '');
)";
    static const QByteArray kFingerprint = QCryptographicHash::hash(kSchema, QCryptographicHash::Sha256).toHex();
    const char* fingerprint[] = {kFingerprint.constData()};
    const auto ranWell = [this, error](pg_result* answer, ExecStatusType wanted) {
        const bool well = PQresultStatus(answer) == wanted;
        if (!well && error)
            *error = ResultMessage(m_conn, answer);
        PQclear(answer);
        return well;
    };

    // Nearly every start finds the schema as this script makes it: one look at the small table, which takes no
    // lock another till's statement could wait for. Running the script anyway would take each table's strongest
    // lock (ALTER TABLE does, even when the column is there): the start would wait for any long read of another
    // till, and every statement on that table would queue behind it. (On a database without the table the look
    // fails, and the script runs.)
    pg_result* found = PQexecParams(m_conn, "SELECT 1 FROM schema_version WHERE fingerprint = $1;", 1, nullptr,
                                    fingerprint, nullptr, nullptr, 0);
    const bool current = PQresultStatus(found) == PGRES_TUPLES_OK && PQntuples(found) == 1;
    PQclear(found);
    if (current)
        return true;

    // Two tills starting at once take turns (the advisory lock ends with the transaction). Building an index on a
    // big table may take longer than a till's statement may; the wait for a lock stays limited.
    const bool migrated =
        ranWell(PQexec(m_conn, "BEGIN; SET LOCAL statement_timeout = 0; SELECT pg_advisory_xact_lock(7305);"),
                PGRES_TUPLES_OK)
        && run(QString::fromUtf8(kSchema), {}, nullptr, error)
        && ranWell(PQexecParams(m_conn, "INSERT INTO schema_version (fingerprint) VALUES ($1) ON CONFLICT DO NOTHING;",
                                1, nullptr, fingerprint, nullptr, nullptr, 0),
                   PGRES_COMMAND_OK)
        && ranWell(PQexec(m_conn, "COMMIT;"), PGRES_COMMAND_OK);
    if (!migrated && inTransaction())
        PQclear(PQexec(m_conn, "ROLLBACK;"));
    return migrated;
}

void PostgresConnection::forgetSchemaVersion()
{
    PQclear(PQexec(m_conn, "DELETE FROM schema_version;"));
}

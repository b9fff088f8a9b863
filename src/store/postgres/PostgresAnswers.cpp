#include "store/postgres/PostgresAnswers.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <poll.h>

namespace postgres {

namespace {

QString Trimmed(const char* message)
{
    return QString::fromUtf8(message).trimmed();
}

bool Failed(const pg_result* result)
{
    if (!result)
        return false;
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_BAD_RESPONSE || status == PGRES_NONFATAL_ERROR || status == PGRES_FATAL_ERROR;
}

// How often a wait for the server asks the cancel check, and how long after a cancel request it sends another:
// the server drops a request that comes before it has started the statement.
constexpr int kCancelCheckMs = 50;
constexpr qint64 kCancelRepeatMs = 1000;

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

// A price column keeps a whole number as an integer in data.db (its NUMERIC affinity) and reads "2", not "2.0";
// a computed real (a sum) stays a real there as well.
bool RealReadsAsInteger(const pg_result* result, int column, double real)
{
    return PQftable(result, column) != InvalidOid && std::trunc(real) == real && std::abs(real) < 9.2e18;
}

} // namespace

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

// Asks the server to stop the statement running on the connection (a connection of its own carries the request).
void SendCancel(pg_conn* conn)
{
    if (PGcancel* cancel = PQgetCancel(conn)) {
        char ignored[256];
        PQcancel(cancel, ignored, sizeof ignored);
        PQfreeCancel(cancel);
    }
}

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

Parameters::Parameters(const std::vector<QVariant>& values)
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

bool IsInteger(Oid type)
{
    return type == kInt8 || type == kInt2 || type == kInt4 || type == kOid || type == kBool;
}

// The server's text of a cell, read in place.
QByteArrayView CellText(const pg_result* result, int row, int column)
{
    return QByteArrayView(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

// Read as IntegerText reads an integer.
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

} // namespace postgres

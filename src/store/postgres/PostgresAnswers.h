#pragma once

#include "store/DbValue.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include <libpq-fe.h>

// What the connection and its cursors share of libpq: the server's answers and messages, waiting for an answer
// while a cancel check may stop it, values as the server reads them and cells as the program reads them.
namespace postgres {

// libpq's type numbers of the columns read as numbers (pg_type.oid).
inline constexpr Oid kBool = 16;
inline constexpr Oid kInt8 = 20;
inline constexpr Oid kInt2 = 21;
inline constexpr Oid kInt4 = 23;
inline constexpr Oid kOid = 26;
inline constexpr Oid kFloat4 = 700;
inline constexpr Oid kFloat8 = 701;
inline constexpr Oid kNumeric = 1700;

// The connection's last message, or a plain one when libpq has none.
QString ConnectionMessage(const pg_conn* conn);
// The result's message, else the connection's.
QString ResultMessage(const pg_conn* conn, const pg_result* result);
void NoticeLostConnection(pg_conn* conn, bool answeredByServer);
// The failure came from the server (it carries an SQLSTATE), not from a connection that broke.
bool AnsweredByServer(const pg_result* result);
void SendCancel(pg_conn* conn);
bool AwaitResult(pg_conn* conn, const std::function<bool()>& cancelled);
pg_result* CollectAnswer(pg_conn* conn, const std::function<bool()>& cancelled, bool* interrupted);

// Bound values as libpq takes them: texts, with a null pointer for NULL.
struct Parameters
{
    std::vector<QByteArray> texts;
    std::vector<const char*> pointers;

    explicit Parameters(const std::vector<QVariant>& values);
    int count() const { return static_cast<int>(pointers.size()); }
    const char* const* values() const { return pointers.empty() ? nullptr : pointers.data(); }
};

bool IsInteger(Oid type);
QByteArrayView CellText(const pg_result* result, int row, int column);
double RealText(QByteArrayView text);
qint64 IntegerCell(QByteArrayView text, Oid type);
// A cell as the program reads values (see DbValue): numbers as data.db would give them back.
DbValue Cell(const pg_result* result, int row, int column);

} // namespace postgres

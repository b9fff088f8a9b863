#pragma once

#include "cashup/SessionFigures.h"
#include "store/CashMovementsTable.h"

#include <QString>
#include <optional>

class Database;

// The till sessions of the database's till (Database::tillName). A till works in sessions: the first record or
// cash movement with no open session opens one with a float of 0; OpenTill opens one with a counted float; CloseTill
// ends it with its Z report. One open session per till, and a session holds only its own till's records.

// The session id of the till's open session; none when it has none (or the lookup failed, reported).
std::optional<QString> OpenSessionOf(Database& db, const QString& till);

// Inside the caller's transaction: the session id of the database's till's open session, opened at the time given
// (the till's time of the record being written) with a float of 0 when there is none. The session stays locked (on a server) until the transaction ends, so that a close of the
// till waits for the record being written into it. Nothing when refused (reported).
std::optional<QString> EnsureOpenSession(Database& db, const QString& openedAt);

// Opens a session of the database's till with the float counted into the drawer. False with the reason in refusal
// when the till has an open session already or the database refused (reported).
bool OpenTill(Database& db, qint64 floatCents, QString* refusal);

// Stores cash put in or taken out (a positive amount, with the cashier's reason), or a drawer opening without a sale
// (amount 0), in the till's open session (opened with a float of 0 when there is none). False when refused
// (reported).
bool RecordCashMovement(Database& db, CashMovementKind kind, qint64 cents, const QString& reason);

// Closes the till's open session with the counted cash: its figures, the count and the difference are stored as the
// till's next Z report, in one transaction. Nothing, with the reason in refusal, when the till has no open session
// or the database refused (reported).
std::optional<ZReport> CloseTill(Database& db, qint64 countedCents, QString* refusal);

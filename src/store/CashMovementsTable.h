#pragma once

#include "store/Database.h"

#include <QString>
#include <optional>

// What a cash movement of a till session is.
enum class CashMovementKind {
    In,     // cash put into the drawer
    Out,    // cash taken out of it
    Drawer  // the drawer opened without a sale (amount 0)
};
// The kind as it is stored ("in", "out", "drawer").
QString CashMovementKindText(CashMovementKind kind);

// One row of cash_movements. The amount is positive whole cents (0 for a drawer opening).
struct CashMovementRow
{
    QString movementId; // the movement's UUID
    QString sessionId;
    QString till;
    QString recordedAt; // the till's "yyyy-MM-dd HH:mm:ss"
    CashMovementKind kind = CashMovementKind::In;
    qint64 amountCents = 0;
    QString reason;
};

// Every statement on cash_movements. Movements are only ever added: the database refuses to change or delete one,
// and one of a session that is closed or of another till. Failures are reported by the database's error reporter.
class CashMovementsTable
{
public:
    explicit CashMovementsTable(Database& db) : m_db(db) {}

    bool insert(const CashMovementRow& movement);

private:
    Database& m_db;
};

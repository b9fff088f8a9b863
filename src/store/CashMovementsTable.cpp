#include "store/CashMovementsTable.h"

QString CashMovementKindText(CashMovementKind kind)
{
    switch (kind) {
    case CashMovementKind::In: return QStringLiteral("in");
    case CashMovementKind::Out: return QStringLiteral("out");
    case CashMovementKind::Drawer: return QStringLiteral("drawer");
    }
    return QString();
}

bool CashMovementsTable::insert(const CashMovementRow& movement)
{
    return m_db.ExecuteDirect(QStringLiteral("INSERT INTO cash_movements (movement_id, session_id, till, recorded_at, "
                                             "kind, amount_cents, reason) VALUES (?,?,?,?,?,?,?);"),
                              {movement.movementId, movement.sessionId, movement.till, movement.recordedAt,
                               CashMovementKindText(movement.kind), movement.amountCents,
                               movement.reason.isEmpty() ? QVariant() : QVariant(movement.reason)});
}

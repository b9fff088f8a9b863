#include "cashup/SessionFigures.h"

#include "store/CashMovementsTable.h"
#include "store/SaleRecordsTable.h"
#include "store/SessionTakingsTable.h"
#include "store/TenderTypesTable.h"
#include "store/TillSessionsTable.h"

#include <algorithm>

namespace {

TenderFigures& TenderOf(SessionFigures& figures, const QString& type)
{
    const auto found = std::find_if(figures.tenders.begin(), figures.tenders.end(),
                                    [&type](const TenderFigures& tender) { return tender.tenderType == type; });
    if (found != figures.tenders.end())
        return *found;
    figures.tenders.push_back({type});
    return figures.tenders.back();
}

} // namespace

std::optional<SessionFigures> ReadSessionFigures(Database& db, const QString& sessionId)
{
    const std::optional<TillSessionRow> session = TillSessionsTable(db).withSessionId(sessionId);
    if (!session)
        return std::nullopt;
    const std::optional<SessionTakings> takings = SessionTakingsTable(db).of(sessionId);
    if (!takings)
        return std::nullopt;

    SessionFigures figures;
    figures.sessionId = session->sessionId;
    figures.till = session->till;
    figures.openedAt = session->openedAt;
    figures.sequence = session->sequence;
    figures.floatCents = session->floatCents;

    // Refunds are stored with negative totals and tenders; the figures give them as amounts given back.
    const QString kSale = SaleRecordKindText(SaleRecordKind::Sale);
    const QString kRefund = QStringLiteral("refund");
    const QString kSettlement = SaleRecordKindText(SaleRecordKind::Settlement);
    for (const SessionTakings::Records& records : takings->records) {
        if (records.kind == kSale) {
            figures.salesCount += records.count;
            figures.salesCents += records.totalCents;
            figures.discountCents += records.discountCents;
        } else if (records.kind == kRefund) {
            figures.refundsCount += records.count;
            figures.refundsCents -= records.totalCents;
        } else if (records.kind == kSettlement) {
            figures.creditSettledCents += records.totalCents;
        }
    }
    for (const SessionTakings::Tenders& tenders : takings->tenders) {
        const bool cash = tenders.tenderType == kCashTender;
        if (tenders.kind == kSale) {
            TenderFigures& tender = TenderOf(figures, tenders.tenderType);
            tender.salesCount += tenders.records;
            tender.salesCents += tenders.amountCents;
            if (cash) {
                figures.cashTakenCents += tenders.handedCents;
                figures.changeGivenCents += tenders.changeCents;
            }
        } else if (tenders.kind == kRefund) {
            TenderFigures& tender = TenderOf(figures, tenders.tenderType);
            tender.refundsCount += tenders.records;
            tender.refundsCents -= tenders.amountCents;
            if (cash)
                figures.cashRefundedCents -= tenders.amountCents;
        } else if (tenders.kind == kSettlement && cash) {
            figures.cashSettlementsCents += tenders.amountCents;
        }
    }
    for (const SessionTakings::Movements& movements : takings->movements) {
        if (movements.kind == CashMovementKindText(CashMovementKind::In))
            figures.cashInCents += movements.amountCents;
        else if (movements.kind == CashMovementKindText(CashMovementKind::Out))
            figures.cashOutCents += movements.amountCents;
        else if (movements.kind == CashMovementKindText(CashMovementKind::Drawer))
            figures.drawerOpenings += movements.count;
    }
    figures.expectedCashCents = figures.floatCents + figures.cashTakenCents - figures.changeGivenCents
                                - figures.cashRefundedCents + figures.cashInCents - figures.cashOutCents
                                + figures.cashSettlementsCents;
    return figures;
}

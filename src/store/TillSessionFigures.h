#pragma once

#include <QString>
#include <vector>

// What one payment type took in a till session: its sales and its refunds. Money in whole cents.
struct TenderFigures
{
    QString tenderType;        // tender_types.code
    qint64 salesCount = 0;     // sales with a tender of this type
    qint64 salesCents = 0;
    qint64 refundsCount = 0;   // refunds with a tender of this type
    qint64 refundsCents = 0;   // what was given back, as a positive amount

    friend bool operator==(const TenderFigures&, const TenderFigures&) = default;
};

// Every figure of a till session, as the X report shows it and the Z report keeps it. Money in whole cents;
// refunds and what was given back are positive amounts (a refund of 5.00 is refundsCents 500).
struct SessionFigures
{
    QString sessionId, till, openedAt;
    qint64 sequence = 0;                // the session's number on its till (1, 2, ...)
    qint64 floatCents = 0;              // counted into the drawer when the session opened
    qint64 salesCount = 0, salesCents = 0, discountCents = 0;
    qint64 refundsCount = 0, refundsCents = 0;
    std::vector<TenderFigures> tenders; // one per payment type used, in the types' order
    qint64 cashInCents = 0, cashOutCents = 0;
    qint64 creditSettledCents = 0;      // credit of customers settled in the session, however paid
    qint64 cashSettlementsCents = 0;    // ... of it, paid in cash
    qint64 drawerOpenings = 0;          // the drawer opened without a sale
    qint64 cashTakenCents = 0;          // cash handed over for sales
    qint64 changeGivenCents = 0;        // change given back for them
    qint64 cashRefundedCents = 0;       // cash given back by refunds
    // float + cash taken - change given - cash refunded + cash in - cash out + cash settlements
    qint64 expectedCashCents = 0;

    friend bool operator==(const SessionFigures&, const SessionFigures&) = default;
};

// A closed session: its Z number on the till, when it closed, its figures and the blind count.
struct ZReport
{
    qint64 zNumber = 0;
    QString closedAt;
    SessionFigures figures;
    qint64 countedCents = 0;
    qint64 differenceCents = 0; // counted - expected

    friend bool operator==(const ZReport&, const ZReport&) = default;
};

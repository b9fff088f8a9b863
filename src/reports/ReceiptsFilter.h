#pragma once

#include "store/SaleRecordsTable.h"

#include <QDate>
#include <QString>

// The records of whole days, from the first to the last (both included).
SaleRecordFilter ReceiptsOfDays(const QDate& first, const QDate& last);

// What the receipts list's filter controls hold.
struct ReceiptsFilterChoice
{
    QDate first;
    QDate last;
    QString till;          // empty: every till
    QString receiptNumber; // as typed; anything but a number: any receipt
    QString tenderType;    // a payment type's code; empty: every type
};

// The records the choice lists: those of its days, narrowed to its till, receipt number and payment type.
SaleRecordFilter ReceiptsFilterOf(const ReceiptsFilterChoice& choice);

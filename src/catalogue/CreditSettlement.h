#pragma once

#include "store/CreditLinesTable.h"

#include <QString>
#include <vector>

class Database;

// What a settlement did. A line chosen while it was open but settled meanwhile (on another till) is left out and
// counted apart, never paid twice.
struct CreditSettlement
{
    bool stored = false; // false when a statement failed (reported) and nothing was settled
    size_t settled = 0;
    size_t settledElsewhere = 0;
    QString saleId; // the settlement's record, when lines were settled
};

// Settles a customer's credit lines as a whole: a record of the settlement (its customer, the total of the lines
// still open, paid by the one payment type given), then those lines marked paid and copied into the payments
// with receipt number 0 under the record's id and time. When any statement fails nothing is settled. A price
// that is not a number raises AppError "'x' is not a valid floating point value" before anything is stored.
CreditSettlement SettleCreditLines(Database& db, const QString& customer, const std::vector<CreditLineRecord>& lines,
                                   const QString& tenderType);

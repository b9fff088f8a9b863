#pragma once

#include "store/CreditLinesTable.h"

#include <vector>

class Database;

// What a settlement did. A line chosen while it was open but settled meanwhile (on another till) is left out and
// counted apart, never paid twice.
struct CreditSettlement
{
    bool stored = false; // false when a statement failed (reported) and nothing was settled
    size_t settled = 0;
    size_t settledElsewhere = 0;
};

// Settles a customer's credit lines as a whole: those still open are marked paid and copied into the payments
// with receipt number 0; when any statement fails nothing is settled.
CreditSettlement SettleCreditLines(Database& db, const std::vector<CreditLineRecord>& lines);

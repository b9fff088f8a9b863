#pragma once

#include "store/CreditLinesTable.h"

#include <vector>

class Database;

// Settles a customer's credit lines as a whole: those still open are marked paid and copied into the payments
// with receipt number 0, a line paid meanwhile is left out (never paid twice), and when any statement fails
// nothing is settled. False when nothing was settled.
bool SettleCreditLines(Database& db, const std::vector<CreditLineRecord>& lines);

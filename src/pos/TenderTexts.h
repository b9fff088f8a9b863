#pragma once

#include "store/TendersTable.h"

#include <QString>
#include <vector>

// A payment type as the cashier reads it: the built-in types' names translated ("Cash", "Card", "Account"), a
// shop's own type as the shop named it.
QString TenderTypeCaption(const QString& code);

// What "[TENDERS]" puts on a receipt: a line per tender, its type and amount ("Cash: $ 20.00"; for cash what was
// handed over, when that is known), and a "Change:" line when cash was given back; CR LF between the lines.
QString TendersReceiptText(const std::vector<TenderRow>& tenders, const QString& currencySymbol);

#pragma once

#include "cashup/ZReports.h"

#include <QString>
#include <QStringList>

// The day summary as lines to show or print, in the user's language, money with the currency symbol: each till's
// Z reports of the day apart (its sales, expected and counted cash and the difference), then the tills added up with
// every figure and the per-type lines, then the tills still open.
QStringList DaySummaryText(const DaySummary& summary, const QString& currencySymbol);

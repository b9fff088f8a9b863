#pragma once

#include "cashup/TillSessions.h"

#include <QString>
#include <QStringList>

// The figures of a session as lines to print or show, in the user's language, money with the currency symbol.
QStringList XReportText(const SessionFigures& figures, const QString& currencySymbol);
// A Z report as lines to print: its number and time, the figures, counted, expected and the difference.
QStringList ZReportText(const ZReport& report, const QString& currencySymbol);

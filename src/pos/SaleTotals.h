#pragma once

#include <QString>
#include <QStringList>

// What the sale screen shows around its total: the change table, the change for the amount tendered and the
// test of a discount answer. No widgets here.

// The lines of the change table for a grand total: for each note that applies, an empty line, the translated
// caption ("For 100") and the money text of the note minus the total. Only the 200 note has a lower bound
// (100 < total < 200); a total of exactly 100, exactly 200 or above 200 gives no lines.
QStringList ChangeTableLines(qint64 grandTotalCents);

// The change for an amount tendered: the money text of amount - total, or "0.00" when the amount is not a
// number (an empty box included).
QString ChangeForTendered(const QString& amountText, double grandTotal);

// The discount answer: optional leading blanks, an optional sign, digits with an optional fraction (digits on
// either side of the point), an optional exponent, and nothing after it. "1e1" passes, "10%", "abc" and an
// empty answer do not.
bool ReadDiscountRate(const QString& answer, double& rate);

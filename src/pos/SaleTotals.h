#pragma once

#include <QString>
#include <QStringList>

// The arithmetic of the sale list: the money cells of a line, the grand total of the displayed line totals,
// the change table and the test of a discount answer. No widgets here.

// The money cells of one line (columns 2 to 6 of the sale list). The discounted cells are empty while the
// rate is 0.
struct LineCells
{
    QString price;
    QString quantity;
    QString total;
    QString discountedPrice;
    QString discountedTotal;
};

// Unit price P (full precision, or read back from a cell), quantity Q and the discount rate in percent:
// P, Q, P x Q and, with a rate, D = P - P x rate / 100 and Q x D, each as money text.
LineCells ComputeLineCells(double unitPrice, qint64 quantity, double discountRate);
// Money text for a price taken off by a discount rate: P - P x rate / 100.
double DiscountedPrice(double unitPrice, double discountRate);

// A money text read back as whole cents, exactly for texts with up to two decimals ("12.50" -> 1250);
// other readable numbers are rounded to the cent. False for text that is not a number.
bool TryMoneyTextToCents(const QString& text, qint64& cents);

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

#pragma once

#include <QString>

#include <optional>

// A finite value rounded to 15 significant digits: the digits (ASCII, most significant first), the decimal
// exponent of the first one and the sign. The rounding both money text and report amounts start from.
struct SignificantDigits
{
    bool negative = false;
    char digits[16] = {};
    int count = 0;
    int exponent = 0;
};
SignificantDigits FifteenSignificantDigits(double value);

// Money text: two decimals, a point, no grouping, halves away from zero. Below 1e15 the value is first rounded to
// 15 significant digits, so an amount that has a short decimal form rounds as it is written (2.675 -> 2.68); from
// there on it is the double's own digits, rounded at the cent.
QString MoneyText(double value);
// The whole cents of money text; none for an amount beyond whole cents in 64 bits (9e16 and more) or a value that
// is not finite.
std::optional<qint64> RoundedCents(double value);
// Money text of whole cents ("12.50", "-0.05", "0.00").
QString CentsText(qint64 cents);
// Currency symbol, one blank and the money text ("$ 12.50"; " 12.50" with an empty symbol).
QString MoneyWithSymbol(const QString& symbol, double value);
// The same for whole cents ("$ 12.50"), without a detour through a double.
QString CentsWithSymbol(const QString& symbol, qint64 cents);

// A decimal number with a point: optional sign, digits with an optional fraction, an optional exponent;
// blanks around it are allowed. False for anything else (empty, "10%", "1,5", "abc").
bool TryReadNumber(const QString& text, double& value);
// The same, but a text that is not a number raises AppError "'<text>' is not a valid floating point value".
double ReadNumber(const QString& text);
// Raises that AppError for the text.
[[noreturn]] void RaiseNotANumber(const QString& text);
// An amount typed by the cashier in whole cents: digits with a point and at most two decimals ("12", "12.5",
// "12.50", ".5"), blanks around it allowed; none for anything else (a sign, an exponent, three decimals, "1,5").
std::optional<qint64> ReadAmountCents(const QString& text);
// A whole number in decimal (blanks around it allowed), or the default.
qint64 ReadIntegerOr(const QString& text, qint64 defaultValue);

// The shortest general decimal form with up to 15 significant digits (7.5, 12, 0.1).
QString GeneralNumberText(double value);

#pragma once

#include <QString>

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

// Money text: two decimals, a point, no grouping, halves away from zero. The value is first rounded to 15
// significant digits, so an amount that has a short decimal form rounds as it is written (2.675 -> 2.68).
QString MoneyText(double value);
// Currency symbol, one blank and the money text ("$ 12.50"; " 12.50" with an empty symbol).
QString MoneyWithSymbol(const QString& symbol, double value);

// A decimal number with a point: optional sign, digits with an optional fraction, an optional exponent;
// blanks around it are allowed. False for anything else (empty, "10%", "1,5", "abc").
bool TryReadNumber(const QString& text, double& value);
// The same, but a text that is not a number raises AppError "'<text>' is not a valid floating point value".
double ReadNumber(const QString& text);
// A whole number in decimal (blanks around it allowed), or the default.
qint64 ReadIntegerOr(const QString& text, qint64 defaultValue);

// The shortest general decimal form with up to 15 significant digits (7.5, 12, 0.1).
QString GeneralNumberText(double value);

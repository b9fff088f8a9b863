#include "reports/TwoDecimalText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Adds one to a text of decimal digits.
void incrementDigits(QByteArray& digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
}

} // namespace

QString TwoDecimalText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value, 'f', 2);

    // d.dddddddddddddde±x: the 15 significant digits and the decimal exponent of the first one.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    QByteArray digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

    // Digits down to the hundredths place; the next one decides the rounding.
    const int keep = exponent + 3;
    QByteArray cents;
    if (keep <= 0) {
        cents = (keep == 0 && digits.at(0) >= '5') ? "1" : "0";
    } else if (keep >= digits.size()) {
        cents = digits + QByteArray(keep - digits.size(), '0');
    } else {
        cents = digits.left(keep);
        if (digits.at(keep) >= '5')
            incrementDigits(cents);
    }

    qsizetype firstNonZero = 0;
    while (firstNonZero < cents.size() - 1 && cents.at(firstNonZero) == '0')
        ++firstNonZero;
    cents = cents.mid(firstNonZero);
    const bool isZero = cents == "0";
    if (cents.size() < 3)
        cents.prepend(QByteArray(3 - cents.size(), '0'));

    QString text = QString::fromLatin1(cents.left(cents.size() - 2)) + QLatin1Char('.')
                   + QString::fromLatin1(cents.right(2));
    if (value < 0 && !isZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

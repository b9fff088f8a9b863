#include "pos/Money.h"

#include "app/AppError.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

SignificantDigits FifteenSignificantDigits(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value); // [-]d.dddddddddddddde[+-]xx
    SignificantDigits d;
    d.negative = buffer[0] == '-';
    const char* p = buffer + (d.negative ? 1 : 0);
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && d.count < 15)
            d.digits[d.count++] = *p;
    d.exponent = std::atoi(p + 1);
    return d;
}

QString MoneyText(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        return QString::number(value, 'f', 2);
    const SignificantDigits d = FifteenSignificantDigits(value);
    const bool negative = d.negative;
    const char* digits = d.digits;
    const int n = d.count;
    const int exponent = d.exponent;
    // Keep the digits down to the hundredths; the next digit decides, halves going away from zero.
    const int keep = exponent + 1 + 2;
    qint64 cents = 0;
    for (int i = 0; i < keep && i < n; ++i)
        cents = cents * 10 + (digits[i] - '0');
    for (int i = n; i < keep; ++i)
        cents *= 10;
    if (keep >= 0 && keep < n && digits[keep] >= '5')
        ++cents;
    if (cents == 0)
        return QStringLiteral("0.00");
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(cents / 100)
        .arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString MoneyWithSymbol(const QString& symbol, double value)
{
    return symbol + QLatin1Char(' ') + MoneyText(value);
}

bool TryReadNumber(const QString& text, double& value)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

double ReadNumber(const QString& text)
{
    double value = 0;
    if (!TryReadNumber(text, value))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

qint64 ReadIntegerOr(const QString& text, qint64 defaultValue)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    return ok ? v : defaultValue;
}

QString GeneralNumberText(double value)
{
    return QString::number(value, 'g', 15);
}

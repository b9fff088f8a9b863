#include "pos/Money.h"

#include "core/AppError.h"

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

std::optional<qint64> RoundedCents(double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude < 9e16)) // beyond whole cents in 64 bits, or not a number
        return std::nullopt;
    if (magnitude >= 1e15) {
        // 15 significant digits no longer reach the cents. A double this big has at most three binary places, so
        // the cents are exact, with the eighths that fall on a half rounded away from zero.
        const double whole = std::trunc(magnitude);
        const qint64 cents = qint64(whole) * 100 + std::llround((magnitude - whole) * 100);
        return value < 0 ? -cents : cents;
    }
    const SignificantDigits d = FifteenSignificantDigits(value);
    const char* digits = d.digits;
    const int n = d.count;
    // Keep the digits down to the hundredths; the next digit decides, halves going away from zero.
    const int keep = d.exponent + 1 + 2;
    qint64 cents = 0;
    for (int i = 0; i < keep && i < n; ++i)
        cents = cents * 10 + (digits[i] - '0');
    for (int i = n; i < keep; ++i)
        cents *= 10;
    if (keep >= 0 && keep < n && digits[keep] >= '5')
        ++cents;
    return d.negative ? -cents : cents;
}

QString CentsText(qint64 cents)
{
    // Formatted by hand: the sale list asks for these texts whenever it paints.
    char buffer[32];
    const bool negative = cents < 0;
    quint64 rest = negative ? 0 - quint64(cents) : quint64(cents);
    int at = int(sizeof buffer);
    for (int digit = 0; digit < 3 || rest != 0; ++digit) {
        if (digit == 2)
            buffer[--at] = '.';
        buffer[--at] = char('0' + rest % 10);
        rest /= 10;
    }
    if (negative)
        buffer[--at] = '-';
    return QString::fromLatin1(buffer + at, qsizetype(sizeof buffer) - at);
}

QString MoneyText(double value)
{
    if (const std::optional<qint64> cents = RoundedCents(value))
        return CentsText(*cents);
    return QString::number(value, 'f', 2); // every digit of the double

}

QString MoneyWithSymbol(const QString& symbol, double value)
{
    return symbol + QLatin1Char(' ') + MoneyText(value);
}

QString CentsWithSymbol(const QString& symbol, qint64 cents)
{
    return symbol + QLatin1Char(' ') + CentsText(cents);
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
        RaiseNotANumber(text);
    return value;
}

void RaiseNotANumber(const QString& text)
{
    throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

std::optional<qint64> ReadAmountCents(const QString& text)
{
    static const QRegularExpression amount(QStringLiteral("^\\s*(\\d{0,15})(?:\\.(\\d{0,2}))?\\s*$"));
    const QRegularExpressionMatch match = amount.match(text);
    const QString units = match.captured(1);
    const QString cents = match.captured(2);
    if (!match.hasMatch() || (units.isEmpty() && cents.isEmpty()))
        return std::nullopt;
    return units.toLongLong() * 100 + (cents + QStringLiteral("00")).left(2).toLongLong();
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

#include "reports/ReportNumber.h"

#include "pos/Money.h"
#include "store/Database.h"

#include <QMetaType>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPrecision = 10;
constexpr int kDecimals = 2;

} // namespace

QString ReportAmountText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Below 10^8 a whole number of cents has at most ten significant digits, so when the value lies that close
    // to whole cents both roundings below keep it as it is: write the cents directly (report totals are sums of
    // two-decimal prices, and a report may hold a hundred thousand of them).
    if (std::fabs(value) < 1e8) {
        const double scaled = value * 100;
        const double cents = std::nearbyint(scaled);
        if (std::fabs(scaled - cents) < 1e-6) {
            const qint64 whole = qint64(cents);
            if (whole == 0)
                return QStringLiteral("0.00");
            const qint64 magnitude = whole < 0 ? -whole : whole;
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", whole < 0 ? "-" : "", magnitude / 100,
                          magnitude % 100);
            return QString::fromLatin1(buffer);
        }
    }
    const SignificantDigits d = FifteenSignificantDigits(value);
    const bool negative = d.negative;
    const char* digits = d.digits;
    const int n = d.count;
    const int exponent = d.exponent;

    // Keep at most 10 significant digits and at most two decimals; the next digit decides. The value is then
    // kept x 10^scale.
    const int keep = std::min(kPrecision, exponent + 1 + kDecimals);
    if (keep < 0)
        return QStringLiteral("0.00");
    qint64 kept = 0;
    for (int i = 0; i < keep; ++i)
        kept = kept * 10 + (digits[i] - '0');
    if (keep < n && digits[keep] >= '5')
        ++kept;
    int scale = exponent + 1 - keep;
    if (QByteArray::number(kept).size() > kPrecision) { // 9999999999.5 rounded up to eleven digits
        kept /= 10;
        ++scale;
    }
    if (kept == 0)
        return QStringLiteral("0.00");

    const QByteArray keptDigits = QByteArray::number(kept);
    const int integerDigits = int(keptDigits.size()) + scale;
    if (integerDigits > kPrecision) {
        QString mantissa = QString::fromLatin1(keptDigits);
        while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.size() > 1)
            mantissa.insert(1, QLatin1Char('.'));
        return QStringLiteral("%1%2E+%3").arg(negative ? QStringLiteral("-") : QString(), mantissa).arg(integerDigits - 1);
    }

    qint64 cents = kept;
    for (int i = 0; i < scale + kDecimals; ++i)
        cents *= 10;
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(cents / 100)
        .arg(cents % 100, 2, 10, QLatin1Char('0'));
}

bool ReportNumberOf(const DbValue& value, double& number)
{
    const QVariant& raw = value.raw();
    const int type = raw.typeId();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return TryReadNumber(value.asText(), number);
    number = value.asDouble();
    return true;
}

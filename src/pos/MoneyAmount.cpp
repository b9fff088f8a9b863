#include "pos/MoneyAmount.h"

#include "pos/Money.h"

#include <charconv>
#include <cstdio>
#include <optional>

MoneyAmount MoneyAmount::fromCents(qint64 cents)
{
    MoneyAmount amount;
    amount.m_cents = cents;
    return amount;
}

MoneyAmount MoneyAmount::rounded(double value)
{
    if (const std::optional<qint64> cents = RoundedCents(value))
        return fromCents(*cents);
    MoneyAmount amount;
    amount.m_inCents = false;
    amount.m_beyondCents = value;
    return amount;
}

double MoneyAmount::value() const
{
    if (!m_inCents)
        return m_beyondCents;
    // Up to 2^53 both the cents and the division are exact or rounded once; beyond, the cents themselves would be
    // rounded first, so the decimal form is read instead, which rounds once as reading the money text does.
    constexpr qint64 exactLimit = qint64(1) << 53;
    if (m_cents >= -exactLimit && m_cents <= exactLimit)
        return double(m_cents) / 100;
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%llde-2", static_cast<long long>(m_cents));
    double value = 0;
    std::from_chars(buffer, buffer + length, value);
    return value;
}

QString MoneyAmount::text() const
{
    return m_inCents ? CentsText(m_cents) : MoneyText(m_beyondCents);
}

#pragma once

#include <QString>

// An amount of money as the sale holds it: whole cents, from the moment a price is read. An amount beyond whole
// cents in 64 bits (a price of 1e18) is kept as the double it was computed as, which is all such a figure is shown
// as anyway.
class MoneyAmount
{
public:
    MoneyAmount() = default;
    static MoneyAmount fromCents(qint64 cents);
    // A computed amount, rounded to the cent as its money text rounds it (2.675 -> 268 cents).
    static MoneyAmount rounded(double value);

    bool inCents() const { return m_inCents; }
    // The whole cents; meaningful only while inCents().
    qint64 cents() const { return m_cents; }
    // The amount as a number: exactly what its money text reads as.
    double value() const;
    // Money text: two decimals, a point, no grouping.
    QString text() const;

    friend bool operator==(const MoneyAmount&, const MoneyAmount&) = default;

private:
    qint64 m_cents = 0;
    double m_beyondCents = 0;
    bool m_inCents = true;
};

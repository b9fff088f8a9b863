#pragma once

#include "pos/MoneyAmount.h"

#include <QtGlobal>

// Adds amounts times quantities. The sum is kept exactly in whole cents while every amount and the running sum fit
// in 64 bits; an amount beyond that (a price of 1e18) turns it into the double sum, which is all such a figure can
// be shown as anyway.
class MoneySum
{
public:
    void add(const MoneyAmount& amount, qint64 quantity = 1);

    bool exact() const { return m_exact; }
    // The sum in cents; meaningful only while exact().
    qint64 cents() const { return m_cents; }
    double value() const { return m_exact ? double(m_cents) / 100 : m_double; }

private:
    qint64 m_cents = 0;
    double m_double = 0;
    bool m_exact = true;
};

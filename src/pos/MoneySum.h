#pragma once

#include <QString>

// Adds money texts times quantities. The sum is kept exactly in whole cents while every amount and the running
// sum fit in 64 bits; an amount beyond that (a price of 1e18) turns it into the double sum, which is all such a
// figure can be shown as anyway.
class MoneySum
{
public:
    // Adds quantity × the amount of a money text; false, and nothing added, when the text is not a number.
    bool tryAdd(const QString& moneyText, qint64 quantity = 1);
    // The same, raising AppError "'x' is not a valid floating point value" for text that is not a number.
    void add(const QString& moneyText, qint64 quantity = 1);

    bool exact() const { return m_exact; }
    // The sum in cents; meaningful only while exact().
    qint64 cents() const { return m_cents; }
    double value() const { return m_exact ? double(m_cents) / 100 : m_double; }

private:
    qint64 m_cents = 0;
    double m_double = 0;
    bool m_exact = true;
};

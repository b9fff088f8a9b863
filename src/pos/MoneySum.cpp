#include "pos/MoneySum.h"

#include "pos/Money.h"
#include "pos/SaleTotals.h"

#include <QtNumeric>

bool MoneySum::tryAdd(const QString& moneyText, qint64 quantity)
{
    qint64 cents = 0;
    qint64 lineCents = 0;
    qint64 sum = 0;
    double amount = 0;
    // Any text read in cents is a number; the others are read as one only when they are not.
    const bool inCents = TryMoneyTextToCents(moneyText, cents);
    if (!inCents && !TryReadNumber(moneyText, amount))
        return false;
    m_double += inCents ? double(cents) / 100 * double(quantity) : amount * double(quantity);
    if (m_exact && inCents && !qMulOverflow(cents, quantity, &lineCents) && !qAddOverflow(m_cents, lineCents, &sum))
        m_cents = sum;
    else
        m_exact = false;
    return true;
}

void MoneySum::add(const QString& moneyText, qint64 quantity)
{
    if (!tryAdd(moneyText, quantity))
        ReadNumber(moneyText); // raises the usual message for text that is not a number
}

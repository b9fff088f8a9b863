#include "pos/MoneySum.h"

#include <QtNumeric>

void MoneySum::add(const MoneyAmount& amount, qint64 quantity)
{
    qint64 lineCents = 0;
    qint64 sum = 0;
    m_double += amount.inCents() ? double(amount.cents()) / 100 * double(quantity) : amount.value() * double(quantity);
    if (m_exact && amount.inCents() && !qMulOverflow(amount.cents(), quantity, &lineCents)
        && !qAddOverflow(m_cents, lineCents, &sum))
        m_cents = sum;
    else
        m_exact = false;
}

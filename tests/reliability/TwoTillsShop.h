#pragma once

#include <QString>
#include <QStringList>

// The shop two tills sell from at once in the two-till test: twenty products, the first five with so little
// stock that the tills sell them out, the others with plenty; three customers for credit sales.
namespace twotills {

constexpr int kProducts = 20;

inline QString Barcode(int product)
{
    return QStringLiteral("P%1").arg(product, 2, 10, QLatin1Char('0'));
}

inline qint64 StartStock(int product)
{
    return product < 5 ? 4 * product : 100000; // P00 starts sold out
}

inline QString PriceText(int product)
{
    return QString::number(1.0 + 0.25 * product, 'f', 2);
}

inline QStringList Customers()
{
    return {QStringLiteral("Ann"), QStringLiteral("Bo's Bar"), QStringLiteral("Cem")};
}

} // namespace twotills

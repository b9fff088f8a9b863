#pragma once

#include "pos/MoneyAmount.h"

#include <QString>

// One line of a sale as a checkout stores it: the unit price charged is the discounted one while a discount is
// set. It is stored and printed as its money text.
struct SaleLine
{
    QString barcode;
    QString name;
    qint64 quantity = 0;
    MoneyAmount unitPrice;
};

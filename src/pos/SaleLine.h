#pragma once

#include "pos/MoneyAmount.h"

#include <QString>
#include <optional>

// One line of a sale as a checkout stores it: the unit price charged is the discounted one while a discount is
// set. It is stored and printed as its money text.
struct SaleLine
{
    QString barcode;
    QString name;
    qint64 quantity = 0;
    MoneyAmount unitPrice;
    // While a discount is set: the unit price before it, from which the sale's record has its subtotal.
    std::optional<MoneyAmount> priceBeforeDiscount = std::nullopt;
};

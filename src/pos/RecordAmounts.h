#pragma once

#include "pos/SaleLine.h"

#include <optional>
#include <vector>

// A sale's amounts as its record keeps them, in whole cents: the subtotal of the lines at their prices before any
// discount, the discount, and the total charged, which adds the lines as they are stored and printed (the unit
// price charged times the quantity, as the receipt's total does).
struct RecordAmounts
{
    qint64 subtotalCents = 0;
    qint64 discountCents = 0;
    qint64 totalCents = 0;
};

// Nothing when an amount does not fit in whole cents (a price of 1e18): such a sale cannot be recorded.
std::optional<RecordAmounts> RecordAmountsOf(const std::vector<SaleLine>& lines);

#pragma once

#include "pos/Refund.h"

#include <optional>

// What the Refund window shows of the cashier's choice before it is stored.

// The price of a product picked by barcode for a refund without a receipt, in whole cents as a refund line is
// worth it; none for a price beyond whole cents.
std::optional<qint64> RefundPriceCents(const DbValue& price);
// What the refund pays back (positive): each chosen line's price in cents times its quantity. Lines of the receipt
// are found in the sale; an unknown line or an amount beyond whole cents gives none.
std::optional<qint64> RefundTotalCents(const RefundableSale* sale, const RefundRequest& request);
// Whether anything is chosen: a line with a quantity above 0.
bool RefundChosen(const RefundRequest& request);

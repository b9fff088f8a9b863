#include "pos/RecordAmounts.h"

#include "pos/MoneySum.h"

#include <QtNumeric>

std::optional<RecordAmounts> RecordAmountsOf(const std::vector<SaleLine>& lines)
{
    MoneySum subtotal;
    MoneySum total;
    for (const SaleLine& line : lines) {
        subtotal.add(line.priceBeforeDiscount.value_or(line.unitPrice), line.quantity);
        total.add(line.unitPrice, line.quantity);
    }
    qint64 discount = 0;
    if (!subtotal.exact() || !total.exact() || qSubOverflow(subtotal.cents(), total.cents(), &discount))
        return std::nullopt;
    return RecordAmounts{subtotal.cents(), discount, total.cents()};
}

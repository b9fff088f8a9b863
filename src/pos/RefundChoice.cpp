#include "pos/RefundChoice.h"

#include "pos/Money.h"

#include <QtNumeric>

std::optional<qint64> RefundPriceCents(const DbValue& price)
{
    return RoundedCents(price.asDouble());
}

std::optional<qint64> RefundTotalCents(const RefundableSale* sale, const RefundRequest& request)
{
    qint64 total = 0;
    const auto add = [&total](std::optional<qint64> priceCents, qint64 quantity) {
        qint64 amount = 0;
        return priceCents && !qMulOverflow(*priceCents, quantity, &amount) && !qAddOverflow(total, amount, &total);
    };
    for (const RefundLineChoice& choice : request.lines) {
        const RefundableLine* found = nullptr;
        if (sale)
            for (const RefundableLine& line : sale->lines)
                if (line.lineId == choice.lineId)
                    found = &line;
        if (!found || !add(found->priceCents, choice.quantity))
            return std::nullopt;
    }
    for (const UnreferencedRefundLine& line : request.looseLines)
        if (!add(RefundPriceCents(line.price), line.quantity))
            return std::nullopt;
    return total;
}

bool RefundChosen(const RefundRequest& request)
{
    for (const RefundLineChoice& line : request.lines)
        if (line.quantity > 0)
            return true;
    for (const UnreferencedRefundLine& line : request.looseLines)
        if (line.quantity > 0)
            return true;
    return false;
}

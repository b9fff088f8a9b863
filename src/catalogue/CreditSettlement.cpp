#include "catalogue/CreditSettlement.h"

#include "store/PaymentsTable.h"
#include "store/Transaction.h"

#include <algorithm>

bool SettleCreditLines(Database& db, const std::vector<CreditLineRecord>& lines)
{
    Transaction transaction(db);
    if (!transaction.active())
        return false;
    CreditLinesTable creditLines(db);
    std::vector<qint64> ids;
    for (const CreditLineRecord& line : lines)
        ids.push_back(line.id);
    const std::optional<std::vector<qint64>> open = creditLines.stillOpen(ids);
    if (!open || open->empty() || !creditLines.markPaid(*open))
        return false;
    PaymentsTable payments(db);
    for (const CreditLineRecord& line : lines) {
        if (std::find(open->begin(), open->end(), line.id) == open->end())
            continue;
        if (!payments.insert(0, line.barcode, line.name, line.quantity.raw(), line.price))
            return false;
    }
    return transaction.commit();
}

#include "catalogue/CreditSettlement.h"

#include "store/PaymentsTable.h"
#include "store/Transaction.h"

#include <algorithm>

CreditSettlement SettleCreditLines(Database& db, const std::vector<CreditLineRecord>& lines)
{
    CreditSettlement result;
    Transaction transaction(db);
    if (!transaction.active())
        return result;
    std::vector<qint64> ids;
    for (const CreditLineRecord& line : lines)
        ids.push_back(line.id);
    const std::optional<std::vector<qint64>> paid = CreditLinesTable(db).markPaid(ids);
    if (!paid)
        return result;
    PaymentsTable payments(db);
    for (const CreditLineRecord& line : lines) {
        if (std::find(paid->begin(), paid->end(), line.id) == paid->end())
            continue;
        if (!payments.insert(0, line.barcode, line.name, line.quantity.raw(), line.price))
            return result;
    }
    if (!transaction.commit())
        return result;
    result.stored = true;
    result.settled = paid->size();
    result.settledElsewhere = lines.size() - paid->size();
    return result;
}

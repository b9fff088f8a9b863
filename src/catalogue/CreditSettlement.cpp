#include "catalogue/CreditSettlement.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/MoneyAmount.h"
#include "pos/MoneySum.h"
#include "pos/SaleRecordStore.h"
#include "store/PaymentsTable.h"
#include "store/Transaction.h"

#include <algorithm>

CreditSettlement SettleCreditLines(Database& db, const QString& customer, const std::vector<CreditLineRecord>& lines,
                                   const QString& tenderType)
{
    // Every price is read before anything is stored; prices[i] is the price of lines[i].
    std::vector<MoneyAmount> prices;
    for (const CreditLineRecord& line : lines)
        prices.push_back(MoneyAmount::rounded(ReadNumber(line.price)));

    CreditSettlement result;
    Transaction transaction(db);
    if (!transaction.active())
        return result;
    std::vector<qint64> ids;
    for (const CreditLineRecord& line : lines)
        ids.push_back(line.id);
    CreditLinesTable creditLines(db);
    // A line another till settled meanwhile is no longer among them, and none of them can be settled elsewhere now.
    const std::optional<std::vector<qint64>> open = creditLines.claimOpen(ids);
    if (!open)
        return result;
    const auto isOpen = [&open](qint64 id) { return std::find(open->begin(), open->end(), id) != open->end(); };
    if (!open->empty()) {
        MoneySum total;
        for (size_t i = 0; i < lines.size(); ++i)
            if (isOpen(lines[i].id))
                total.add(prices[i], lines[i].quantity.asInteger());
        if (!total.exact()) {
            db.reportError(TranslateText("The amounts of this sale are too large to be recorded."));
            return result;
        }
        SaleRecordRow record;
        record.kind = SaleRecordKind::Settlement;
        record.customerId = std::find_if(lines.begin(), lines.end(), [&](const CreditLineRecord& line) {
                                return isOpen(line.id);
                            })->customerId;
        record.customerName = customer;
        record.subtotalCents = record.totalCents = total.cents();
        const std::optional<RecordStamp> stored =
            StoreSaleRecord(db, record, {{tenderType, total.cents(), std::nullopt, std::nullopt}});
        if (!stored)
            return result;
        const RecordStamp& stamp = *stored;
        if (!creditLines.markPaid(*open, stamp.recordedAt))
            return result;
        PaymentsTable payments(db);
        for (const CreditLineRecord& line : lines) {
            if (isOpen(line.id) && !payments.insert(stamp, 0, line.barcode, line.name, line.quantity.raw(), line.price))
                return result;
        }
        result.saleId = stamp.saleId;
    }
    if (!transaction.commit())
        return {};
    result.stored = true;
    result.settled = open->size();
    result.settledElsewhere = lines.size() - open->size();
    return result;
}

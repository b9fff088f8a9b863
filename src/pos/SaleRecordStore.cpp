#include "pos/SaleRecordStore.h"

#include "cashup/TillSessions.h"
#include "store/Database.h"

std::optional<RecordStamp> StoreSaleRecord(Database& db, SaleRecordRow record, const std::vector<TenderRow>& tenders)
{
    record.saleId = NewSaleId();
    record.till = db.tillName();
    record.recordedAt = db.localNow();
    const std::optional<QString> session = EnsureOpenSession(db, record.recordedAt);
    if (!session)
        return std::nullopt;
    record.sessionId = *session;
    if (!SaleRecordsTable(db).insert(record) || !TendersTable(db).insert(record.saleId, tenders))
        return std::nullopt;
    return RecordStamp{record.saleId, record.recordedAt};
}

#include "pos/SaleRecordStore.h"

#include "store/Database.h"

std::optional<RecordStamp> StoreSaleRecord(Database& db, SaleRecordRow record, const std::vector<TenderRow>& tenders)
{
    record.saleId = NewSaleId();
    record.till = db.tillName();
    record.recordedAt = db.localNow();
    if (!SaleRecordsTable(db).insert(record) || !TendersTable(db).insert(record.saleId, tenders))
        return std::nullopt;
    return RecordStamp{record.saleId, record.recordedAt};
}

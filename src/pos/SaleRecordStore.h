#pragma once

#include "store/SaleRecordsTable.h"
#include "store/TendersTable.h"

#include <optional>
#include <vector>

class Database;

// Writes a new record of this till, at the till's time, and then its tenders, in the caller's transaction: the
// record gets a new sale id, the till's name, the time and the till's open session (opened with a float of 0 when
// there is none), the rest is the caller's. Gives the id and time its lines carry; nothing when a statement was
// refused (reported).
std::optional<RecordStamp> StoreSaleRecord(Database& db, SaleRecordRow record, const std::vector<TenderRow>& tenders);

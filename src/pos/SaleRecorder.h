#pragma once

#include "pos/SaleLine.h"
#include "store/TendersTable.h"

#include <QString>
#include <optional>
#include <vector>

class Database;
class Payment;

// What the receipt needs of a stored sale: the list lines (CR LF between them), the record's total, its id, its
// time as stored and its tenders. committed is false when the sale could not be stored as a whole; nothing of it is then in the
// database, and the failure has been reported.
struct RecordedSale
{
    QString listText;
    qint64 totalCents = 0;
    QString saleId;
    QString recordedAt; // "yyyy-MM-dd HH:mm:ss"
    std::vector<TenderRow> tenders;
    bool committed = false;
};

// Stores a completed sale in one transaction:
// 1. its record, first: a new sale id, the till, the receipt number (none for a sale without one), the till's time,
//    the customer of a sale on account, and the amounts of RecordAmountsOf;
// 2. the payment's tenders for the total;
// 3. per line, under the record's id and time, an odemeler row under the receipt number (the price as its money
//    text) for a paid sale, or a veresiyeler row of the customer for a sale on account;
// 4. each line's product stock lowered by its quantity (never below 0), in barcode order; a stock that cannot be
//    read is reported and left as it is, and the sale goes on.
// A record, tender or line that is refused stops the sale: nothing is stored and only that failure is reported,
// since the record and its lines must tell the same sale. So is a sale whose amounts do not fit in whole cents,
// or whose tenders do not add up to its total.
RecordedSale RecordSale(Database& db, const std::vector<SaleLine>& lines, const Payment& payment,
                        std::optional<qint64> receiptNumber);

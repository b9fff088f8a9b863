#pragma once

#include "store/DbValue.h"

#include <QString>
#include <optional>
#include <vector>

class Database;

// A line of a record with how much of it refunds have given back so far.
struct SoldLine
{
    qint64 id = 0;
    QString barcode;
    QString name;
    DbValue price;
    qint64 quantity = 0;
    qint64 refunded = 0; // positive: the sum of its refund lines' quantities, negated
};

// The lines of the record in a table of lines (odemeler, veresiyeler: a name of the program's own), in the order
// they were added, each with what its refund lines gave back, found through the refund_of index in the same
// statement. Nothing when the lookup failed (reported).
std::optional<std::vector<SoldLine>> SoldLinesOfRecord(Database& db, const char* table, const QString& saleId);

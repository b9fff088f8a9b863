#pragma once

#include "pos/SaleLine.h"

#include <QString>
#include <vector>

class Database;

// What the receipt needs: the list lines of the stored lines (CR LF between them) and their total.
// committed is false when the sale could not be stored as a whole (the transaction could not begin or commit);
// nothing of it is then in the database, and the failure has been reported.
struct RecordedSale
{
    QString listText;
    double total = 0;
    bool committed = false;
};

// Stores a paid sale in one transaction: per line an odemeler row under the receipt number (the price as its
// money text), then each line's product stock lowered by its quantity (never below 0), in barcode order. A
// failing statement is reported and the sale goes on; a line whose insert failed is left out of the list text and
// the total. When the stock of a line cannot be read, its stock is left as it is. A failure that ends the
// transaction (any failed statement on a server) ends the sale there: nothing is stored and only that failure
// has been reported.
RecordedSale RecordCashSale(Database& db, qint64 receiptNumber, const std::vector<SaleLine>& lines);
// The same for a credit sale: veresiyeler rows of the customer instead of odemeler rows.
RecordedSale RecordCreditSale(Database& db, qint64 customerId, const QString& customerName,
                              const std::vector<SaleLine>& lines);

#pragma once

#include "store/DbValue.h"
#include "store/SaleRecordsTable.h"
#include "store/TendersTable.h"

#include <QString>
#include <optional>
#include <vector>

class Database;

// A refund gives back part of a stored sale: its lines are the original's lines with negative quantities, each
// linked to the line it gives back (refund_of), under a record of kind refund linked to the original record
// (original_sale_id). The database refuses a refund line beyond what is left of its line, and a refund of
// anything but a sale, on both engines.

// One line of a sale as a refund offers it.
struct RefundableLine
{
    qint64 lineId = 0;    // odemeler.id, or veresiyeler.id for a sale on account
    QString barcode;
    QString name;
    DbValue price;        // fiyat as stored
    qint64 priceCents = 0; // the stored price rounded to the cent, as the record's amounts are
    qint64 sold = 0;      // the original quantity
    qint64 refunded = 0;  // refunded so far (positive)
    qint64 left() const { return sold - refunded; }
};

// A stored sale with what is left to refund of each of its lines.
struct RefundableSale
{
    StoredSaleRecord original; // a record of kind Sale
    bool onAccount = false;    // its lines are credit lines (veresiyeler): a refund lowers what the customer owes
    std::vector<TenderRow> tenders;
    std::vector<RefundableLine> lines;
    // How the sale was paid, which a refund pays back by unless the cashier chooses otherwise: Account for a sale
    // on account, its only tender's type, Cash when cash was among a split's tenders, else its first tender's type
    // (Cash for a sale without tenders).
    QString defaultTenderType() const;
};

// The sale id of the newest sale record with that receipt number on that till; nothing when there is none (or the
// lookup failed, reported).
std::optional<QString> FindRefundableSale(Database& db, const QString& till, qint64 receiptNumber);
// The sale of the id with its lines and what is left of them; nothing when there is no such record, it is not of
// kind Sale, or the lookup failed (reported).
std::optional<RefundableSale> ReadRefundableSale(Database& db, const QString& saleId);
// The same, with the original record locked (on a server) until the caller's transaction ends.
std::optional<RefundableSale> ReadRefundableSale(Database& db, const QString& saleId, bool locked);

// What the cashier gives back of one line of the sale.
struct RefundLineChoice
{
    qint64 lineId = 0;
    qint64 quantity = 0;     // positive: the units given back
    bool backToStock = true; // the units go back on the shelf
};

// A line of a refund without a receipt: a product picked by barcode, at the product's price.
struct UnreferencedRefundLine
{
    QString barcode;
    QString name;
    DbValue price;
    qint64 quantity = 0; // positive
    bool backToStock = true;
};

struct RefundRequest
{
    QString originalSaleId;                         // empty: a refund without a receipt
    std::vector<RefundLineChoice> lines;            // with a receipt
    std::vector<UnreferencedRefundLine> looseLines; // without one (only in administrator mode: the caller's gate)
    QString tenderType;                             // how the money goes back; Account for a sale on account
    QString reason;
};

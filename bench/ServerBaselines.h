#pragma once

#include "RawServer.h"

#include "pos/SaleLine.h"

#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QTreeWidget;

// The least work libpq needs for what B1, B2, B4, B9 and the load run show, with the program's own statements on the
// server's copy of the data set. Each statement is prepared once for the connection, as a till that runs all day
// would.
class ServerBaselines
{
public:
    explicit ServerBaselines(const QString& url);

    bool ready() const { return m_ready; }
    QString error() const { return m_server.error(); }

    // B1: each barcode looked up, its row's texts added to the list and the new total put on the label.
    void scan(const QStringList& barcodes, QTreeWidget& list, QLabel& total);

    // B2 and the load run: the lines stored in one transaction with the program's statements in its order (a
    // payment line each, then the stock lowered in barcode order); gives the receipt's list text and total.
    struct StoredSale
    {
        QString list;
        qint64 totalCents = 0; // the record's total
        bool committed = false;
    };
    StoredSale storeSale(const std::vector<SaleLine>& lines, qint64 receiptNumber, const QString& till);

    // B4: the payments from begin to end with the texts and numbers the history list keeps; gives the total.
    double history(const QString& begin, const QString& end);

    // B9: the newest records from `from` up to `until` (a page of `limit`) with their tenders, as the receipts list
    // shows them: seven cells a record.
    std::vector<QString> receipts(const QString& from, const QString& until, int limit);

private:
    RawServer m_server;
    bool m_ready = false;
};

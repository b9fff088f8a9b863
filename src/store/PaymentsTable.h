#pragma once

#include "store/Database.h"
#include "store/SaleRecordsTable.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// Every statement on odemeler. Failures are reported by the database's error reporter.
class PaymentsTable
{
public:
    explicit PaymentsTable(Database& db) : m_db(db) {}

    // One paid line of a record, at its time; receipt number 0 for a settled credit line. A refund's line gives
    // the id of the line it gives back (and a negative quantity).
    bool insert(const RecordStamp& record, qint64 receiptNumber, const QString& barcode, const QString& name,
                const QVariant& quantity, const QString& price, std::optional<qint64> refundOf = std::nullopt);
    bool remove(qint64 id);
    // The paid lines of the record, in the order they were added; nothing when the lookup failed (reported).
    std::optional<std::vector<RecordLine>> linesOfRecord(const QString& saleId);
    // Every column of every line, in the order they were added.
    Statement allRows();
    // How many rows allRows() walks; -1 when the count failed.
    qint64 rowCount();
    bool removeAll();
    // Id, receipt number, barcode, product, price, quantity and date of the lines paid from begin to end (both
    // included, compared as text), oldest first (the lines of one sale in the order stored); an empty product means
    // any. On a server the till follows.
    Statement historyRows(const QString& product, const QString& begin, const QString& end);
    // Barcode, product, units and takings per barcode of the lines paid from the first day to the last (as
    // text, so the last day itself counts only from its midnight), by units or by takings, most first.
    Statement topSellers(const QDate& first, const QDate& last, bool byUnits);

private:
    Database& m_db;
};

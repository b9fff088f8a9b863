#pragma once

#include "store/Database.h"
#include "store/SaleRecordsTable.h"

#include <QString>
#include <optional>
#include <vector>

// An open (unpaid) line of veresiyeler.
struct CreditLineRecord
{
    qint64 id = 0;
    qint64 customerId = 0; // musteriid
    QString barcode;
    QString name;
    DbValue quantity;
    QString price; // as text, the way the line was stored
    QString recorded; // kayittarihi
};

// Every statement on veresiyeler. Failures are reported by the database's error reporter.
class CreditLinesTable
{
public:
    explicit CreditLinesTable(Database& db) : m_db(db) {}

    // The customer's open lines in stored order; nothing when the lookup failed.
    std::optional<std::vector<CreditLineRecord>> openLinesOf(const QString& customer);
    // One line of a record sold on account to the customer, at the record's time. A refund's line gives the id of
    // the line it gives back (and a negative quantity).
    bool insert(const RecordStamp& record, qint64 customerId, const QString& customer, const QString& barcode,
                const QString& name, qint64 quantity, const QString& price, std::optional<qint64> refundOf = std::nullopt);
    // Settling lines is two steps in one transaction: claimOpen, the one check, then markPaid for what it gave.
    //
    // Those of the lines that are still open, claimed for the transaction: no other till can settle them until it
    // ends. On a server they are locked (in id order, so two tills never wait for each other), and a till settling
    // one of them meanwhile waits here and then finds it paid; on data.db the transaction holds the write lock from
    // its start. Nothing when the statement failed.
    std::optional<std::vector<qint64>> claimOpen(const std::vector<qint64>& ids);
    // Marks lines the transaction claimed paid at that time. False when the statement failed.
    bool markPaid(const std::vector<qint64>& ids, const QString& paidAt);
    bool remove(qint64 id);
    // The credit lines of the record, in the order they were added; nothing when the lookup failed (reported).
    std::optional<std::vector<RecordLine>> linesOfRecord(const QString& saleId);
    // Every column of every line, in the order they were added.
    Statement allRows();
    // How many rows allRows() walks; -1 when the count failed.
    qint64 rowCount();
    bool removeAll();
    // Id, customer, barcode, product, price, quantity, paid flag, date paid and date of the lines written from
    // begin to end (both included, compared as text), oldest first (the lines of one sale in the order stored); an
    // empty customer or product means any. On a server the till follows.
    Statement historyRows(const QString& customer, const QString& product, const QString& begin, const QString& end);

private:
    Database& m_db;
};

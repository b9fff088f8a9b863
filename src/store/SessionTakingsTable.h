#pragma once

#include "store/Database.h"

#include <QString>
#include <optional>
#include <vector>

// The sums of a till session's records (by kind) and their tenders (by kind and payment type), and of its cash
// movements (by kind), as stored: refund amounts are negative. Money in whole cents.
struct SessionTakings
{
    struct Records
    {
        QString kind; // sale_records.kind
        qint64 count = 0, totalCents = 0, discountCents = 0;
    };
    struct Tenders
    {
        QString kind, tenderType;
        qint64 records = 0;           // tenders of the type: a record has one tender of each type it used
        qint64 amountCents = 0;       // for cash the cash kept
        qint64 handedCents = 0;       // cash handed over (the amount where it was not kept apart)
        qint64 changeCents = 0;
    };
    struct Movements
    {
        QString kind; // cash_movements.kind
        qint64 count = 0, amountCents = 0;
    };
    std::vector<Records> records;
    std::vector<Tenders> tenders; // in the payment types' order
    std::vector<Movements> movements;
};

// The statements that add up a session's takings. Failures are reported by the database's error reporter.
class SessionTakingsTable
{
public:
    explicit SessionTakingsTable(Database& db) : m_db(db) {}

    // Nothing when a lookup failed (reported).
    std::optional<SessionTakings> of(const QString& sessionId);

private:
    Database& m_db;
};

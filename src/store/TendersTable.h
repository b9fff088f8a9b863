#pragma once

#include "store/Database.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One tender of a record: what one payment type paid of its total, in whole cents (negative for money given
// back). Cash also keeps what was handed over and the change, when they are known.
struct TenderRow
{
    QString type; // the payment type's code (tender_types.code)
    qint64 amountCents = 0;
    std::optional<qint64> handedCents;
    std::optional<qint64> changeCents;

    friend bool operator==(const TenderRow&, const TenderRow&) = default;
};

// Every statement on tenders. Tenders are only ever added: the database refuses to change or delete one.
// Failures are reported by the database's error reporter.
class TendersTable
{
public:
    explicit TendersTable(Database& db) : m_db(db) {}

    // Stores the record's tenders in their order (position 1, 2, ...); false at the first one refused (reported).
    bool insert(const QString& saleId, const std::vector<TenderRow>& tenders);
    // The record's tenders in their order; nothing when the lookup failed (reported).
    std::optional<std::vector<TenderRow>> of(const QString& saleId);
    // The tenders of each of the records (a page of a list) in their order, read at once; a record without
    // tenders is not among them. Nothing when the lookup failed (reported).
    std::optional<QHash<QString, std::vector<TenderRow>>> ofRecords(const QStringList& saleIds);

private:
    Database& m_db;
};

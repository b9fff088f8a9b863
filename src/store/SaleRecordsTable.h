#pragma once

#include "store/Database.h"

#include <QString>
#include <optional>

// What a record is of.
enum class SaleRecordKind {
    Sale,       // a sale at the till, paid or on account
    Settlement  // open credit of a customer paid later, on the customers screen
};
// The kind as it is stored ("sale", "settlement"); nothing for a text that is no kind.
QString SaleRecordKindText(SaleRecordKind kind);
std::optional<SaleRecordKind> SaleRecordKindOf(const QString& text);

// One row of sale_records: a completed sale (or settlement) as a whole. Money in whole cents; the total is the
// subtotal less the discount, and the record's tenders add up to it.
struct SaleRecordRow
{
    QString saleId;                      // the record's UUID, made by the till
    QString till;
    std::optional<qint64> receiptNumber; // none when the sale used no receipt number
    QString recordedAt;                  // the till's "yyyy-MM-dd HH:mm:ss", as its lines have it
    SaleRecordKind kind = SaleRecordKind::Sale;
    std::optional<qint64> customerId;    // a sale on account, a settlement
    QString customerName;
    qint64 subtotalCents = 0;
    qint64 discountCents = 0;
    qint64 totalCents = 0;

    friend bool operator==(const SaleRecordRow&, const SaleRecordRow&) = default;
};

// The id and time every line of a record carries.
struct RecordStamp
{
    QString saleId;
    QString recordedAt;
};

// A new sale id: a UUID in its 36-character text form.
QString NewSaleId();

// Every statement on sale_records. Records are only ever added: the database refuses to change or delete one.
// Failures are reported by the database's error reporter.
class SaleRecordsTable
{
public:
    explicit SaleRecordsTable(Database& db) : m_db(db) {}

    // Stores a new record; false when it was refused (reported), a second record with the same sale id too.
    bool insert(const SaleRecordRow& record);
    // The record of the sale id; nothing when there is none or the lookup failed (reported).
    std::optional<SaleRecordRow> withSaleId(const QString& saleId);

private:
    Database& m_db;
};

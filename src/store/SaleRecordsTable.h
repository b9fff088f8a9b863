#pragma once

#include "store/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

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
    QString sessionId;                   // the till session it belongs to; empty for records from before sessions

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

// A stored record with its row id, which orders the records of one time.
struct StoredSaleRecord
{
    qint64 id = 0;
    SaleRecordRow record;
};

// Which records a list reads. The time bounds are compared as text with recorded_at, so a bare date
// ("2025-03-01") bounds whole days; an empty bound is no bound. Empty texts and no receipt number narrow nothing.
struct SaleRecordFilter
{
    QString from;                        // recorded_at at or after this
    QString until;                       // recorded_at before this
    QString till;
    std::optional<qint64> receiptNumber;
    QString tenderType;                  // a record with a tender of this type (tender_types.code)

    friend bool operator==(const SaleRecordFilter&, const SaleRecordFilter&) = default;
};

// Where a page of records, newest first, ended: the next page starts after this record.
struct SaleRecordPlace
{
    QString recordedAt;
    qint64 id = 0;
};

// One line of a record as odemeler or veresiyeler keep it.
struct RecordLine
{
    QString barcode;
    QString name;
    DbValue price;
    DbValue quantity;
};

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

    // Up to limit records of the filter, newest first (by time, then by id), after the place given or from the
    // newest. Only the page is read: the time index leads the way. Nothing when the lookup failed (reported).
    std::optional<std::vector<StoredSaleRecord>> page(const SaleRecordFilter& filter,
                                                      const std::optional<SaleRecordPlace>& after, int limit);
    // How many records the filter takes; nothing when the count failed (reported).
    std::optional<qint64> count(const SaleRecordFilter& filter);
    // The tills that stored records, in order; each is found through the till index, however many records there are.
    std::optional<QStringList> tills();

private:
    Database& m_db;
};

#include "store/SaleRecordsTable.h"

#include "store/TableRows.h"

#include <QUuid>

QString SaleRecordKindText(SaleRecordKind kind)
{
    switch (kind) {
    case SaleRecordKind::Sale: return QStringLiteral("sale");
    case SaleRecordKind::Settlement: return QStringLiteral("settlement");
    }
    return QString();
}

std::optional<SaleRecordKind> SaleRecordKindOf(const QString& text)
{
    for (const SaleRecordKind kind : {SaleRecordKind::Sale, SaleRecordKind::Settlement})
        if (SaleRecordKindText(kind) == text)
            return kind;
    return std::nullopt;
}

QString NewSaleId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool SaleRecordsTable::insert(const SaleRecordRow& record)
{
    return m_db.ExecuteDirect(
        QStringLiteral("INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, customer_id, "
                       "customer_name, subtotal_cents, discount_cents, total_cents, session_id) VALUES (?,?,?,?,?,?,?,?,?,?,?);"),
        {record.saleId, record.till, IntegerOrNull(record.receiptNumber), record.recordedAt, SaleRecordKindText(record.kind),
         IntegerOrNull(record.customerId), record.customerId ? QVariant(record.customerName) : QVariant(),
         record.subtotalCents, record.discountCents, record.totalCents,
         record.sessionId.isEmpty() ? QVariant() : QVariant(record.sessionId)});
}

namespace {

const QString kRecordColumns = QStringLiteral("sale_id, till, receipt_no, recorded_at, kind, customer_id, "
                                              "customer_name, subtotal_cents, discount_cents, total_cents, "
                                              "session_id");

SaleRecordRow RecordOf(const QueryResult& found, size_t row)
{
    const auto column = [&found, row](const char* name) { return found.value(row, QString::fromLatin1(name)); };
    SaleRecordRow record;
    record.saleId = column("sale_id").asText();
    record.till = column("till").asText();
    record.receiptNumber = OptionalInteger(column("receipt_no"));
    record.recordedAt = column("recorded_at").asText();
    record.kind = SaleRecordKindOf(column("kind").asText()).value_or(SaleRecordKind::Sale);
    record.customerId = OptionalInteger(column("customer_id"));
    record.customerName = column("customer_name").asText();
    record.subtotalCents = column("subtotal_cents").asInteger();
    record.discountCents = column("discount_cents").asInteger();
    record.totalCents = column("total_cents").asInteger();
    record.sessionId = column("session_id").asText();
    return record;
}

// The WHERE clause of a filter, its values added to params.
QString FilterSql(const SaleRecordFilter& filter, std::vector<QVariant>& params)
{
    QStringList conditions;
    const auto add = [&](const char* condition, const QVariant& value) {
        conditions << QLatin1String(condition);
        params.push_back(value);
    };
    if (!filter.from.isEmpty())
        add("recorded_at >= ?", filter.from);
    if (!filter.until.isEmpty())
        add("recorded_at < ?", filter.until);
    if (!filter.till.isEmpty())
        add("till = ?", filter.till);
    if (filter.receiptNumber)
        add("receipt_no = ?", *filter.receiptNumber);
    if (!filter.tenderType.isEmpty())
        add("EXISTS (SELECT 1 FROM tenders WHERE tenders.sale_id = sale_records.sale_id AND tenders.tender_type = ?)",
            filter.tenderType);
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

} // namespace

std::optional<SaleRecordRow> SaleRecordsTable::withSaleId(const QString& saleId)
{
    const QueryResult found =
        m_db.Query(QStringLiteral("SELECT %1 FROM sale_records WHERE sale_id = ?;").arg(kRecordColumns), {saleId});
    if (found.empty())
        return std::nullopt;
    return RecordOf(found, 0);
}

std::optional<std::vector<StoredSaleRecord>> SaleRecordsTable::page(const SaleRecordFilter& filter,
                                                                    const std::optional<SaleRecordPlace>& after,
                                                                    int limit)
{
    std::vector<QVariant> params;
    QString where = FilterSql(filter, params);
    if (after) {
        // The first condition bounds the index range; the second skips the records of that very time already read.
        where += where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        where += QStringLiteral("recorded_at <= ? AND (recorded_at < ? OR id < ?)");
        params.insert(params.end(), {after->recordedAt, after->recordedAt, after->id});
    }
    params.emplace_back(limit);
    const QueryResult found = m_db.Query(QStringLiteral("SELECT id, %1 FROM sale_records%2 "
                                                        "ORDER BY recorded_at DESC, id DESC LIMIT ?;")
                                             .arg(kRecordColumns, where),
                                         params);
    if (!found.ok)
        return std::nullopt;
    std::vector<StoredSaleRecord> records;
    records.reserve(found.size());
    for (size_t i = 0; i < found.size(); ++i)
        records.push_back({found.value(i, QStringLiteral("id")).asInteger(), RecordOf(found, i)});
    return records;
}

std::optional<qint64> SaleRecordsTable::count(const SaleRecordFilter& filter)
{
    std::vector<QVariant> params;
    const QueryResult found =
        m_db.Query(QStringLiteral("SELECT count(*) FROM sale_records%1;").arg(FilterSql(filter, params)), params);
    if (found.empty())
        return std::nullopt;
    return found.rows[0][0].asInteger();
}

std::optional<QStringList> SaleRecordsTable::tills()
{
    // One index lookup per till: the smallest till, then the smallest after it, and so on.
    const QueryResult found = m_db.Query(QStringLiteral(
        "WITH RECURSIVE found (till) AS (SELECT min(till) FROM sale_records"
        " UNION ALL SELECT (SELECT min(till) FROM sale_records WHERE till > found.till) FROM found"
        " WHERE found.till IS NOT NULL)"
        " SELECT till FROM found WHERE till IS NOT NULL;"));
    if (!found.ok)
        return std::nullopt;
    QStringList tills;
    for (const auto& row : found.rows)
        tills << row[0].asText();
    return tills;
}

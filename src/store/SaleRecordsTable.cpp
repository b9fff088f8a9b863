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
                       "customer_name, subtotal_cents, discount_cents, total_cents) VALUES (?,?,?,?,?,?,?,?,?,?);"),
        {record.saleId, record.till, IntegerOrNull(record.receiptNumber), record.recordedAt, SaleRecordKindText(record.kind),
         IntegerOrNull(record.customerId), record.customerId ? QVariant(record.customerName) : QVariant(),
         record.subtotalCents, record.discountCents, record.totalCents});
}

std::optional<SaleRecordRow> SaleRecordsTable::withSaleId(const QString& saleId)
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT sale_id, till, receipt_no, recorded_at, kind, customer_id, customer_name, "
                       "subtotal_cents, discount_cents, total_cents FROM sale_records WHERE sale_id = ?;"),
        {saleId});
    if (found.empty())
        return std::nullopt;
    const auto column = [&found](const char* name) { return found.value(0, QString::fromLatin1(name)); };
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
    return record;
}

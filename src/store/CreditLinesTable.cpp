#include "store/CreditLinesTable.h"

#include "store/TableRows.h"

std::optional<std::vector<CreditLineRecord>> CreditLinesTable::openLinesOf(const QString& customer)
{
    const QueryResult open = m_db.Query(QStringLiteral("SELECT id, musteriid, barkod, urunadi, adet, fiyat, kayittarihi "
                                                       "FROM veresiyeler where odendimi=0 and musteriadi=?;"),
                                        {customer});
    if (!open.ok)
        return std::nullopt;
    std::vector<CreditLineRecord> lines;
    for (size_t i = 0; i < open.size(); ++i)
        lines.push_back({open.value(i, QStringLiteral("id")).asInteger(),
                         open.value(i, QStringLiteral("musteriid")).asInteger(), open.text(i, QStringLiteral("barkod")),
                         open.text(i, QStringLiteral("urunadi")), open.value(i, QStringLiteral("adet")),
                         open.text(i, QStringLiteral("fiyat")), open.text(i, QStringLiteral("kayittarihi"))});
    return lines;
}

bool CreditLinesTable::insert(const RecordStamp& record, qint64 customerId, const QString& customer,
                              const QString& barcode, const QString& name, qint64 quantity, const QString& price,
                              std::optional<qint64> refundOf)
{
    std::vector<QVariant> values{customerId, customer, barcode, name, quantity, price, record.recordedAt,
                                 record.saleId, IntegerOrNull(refundOf)};
    const bool withTill = m_db.recordsTill();
    if (withTill)
        values.emplace_back(m_db.tillName());
    return m_db.ExecuteDirect(
        QStringLiteral("insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat,kayittarihi,sale_id,"
                       "refund_of%1) values (%2);")
            .arg(withTill ? QStringLiteral(",kasa") : QString(), Placeholders(values.size())),
        values);
}

namespace {

std::vector<qint64> Ids(const QueryResult& rows)
{
    std::vector<qint64> ids;
    for (size_t i = 0; i < rows.size(); ++i)
        ids.push_back(rows.value(i, QStringLiteral("id")).asInteger());
    return ids;
}

} // namespace

std::optional<std::vector<qint64>> CreditLinesTable::claimOpen(const std::vector<qint64>& ids)
{
    if (ids.empty())
        return std::vector<qint64>();
    std::vector<QVariant> params(ids.begin(), ids.end());
    const QueryResult open = m_db.Query(QStringLiteral("SELECT id FROM veresiyeler where odendimi=0 and id in (")
                                            + Placeholders(ids.size()) + QStringLiteral(") order by id")
                                            + m_db.lockForUpdateSql() + QLatin1Char(';'),
                                        params);
    if (!open.ok)
        return std::nullopt;
    return Ids(open);
}

bool CreditLinesTable::markPaid(const std::vector<qint64>& ids, const QString& paidAt)
{
    if (ids.empty())
        return true;
    std::vector<QVariant> params{paidAt};
    for (const qint64 id : ids)
        params.push_back(id);
    return m_db.ExecuteDirect(QStringLiteral("update veresiyeler set odendimi=1, odemetarihi=? where id in (")
                                  + Placeholders(ids.size()) + QStringLiteral(");"),
                              params);
}

bool CreditLinesTable::remove(qint64 id)
{
    return TableRows(m_db, "veresiyeler").remove(id);
}

qint64 CreditLinesTable::rowCount()
{
    return TableRows(m_db, "veresiyeler").count();
}

Statement CreditLinesTable::allRows()
{
    return TableRows(m_db, "veresiyeler").all();
}

bool CreditLinesTable::removeAll()
{
    return TableRows(m_db, "veresiyeler").removeAll();
}

Statement CreditLinesTable::historyRows(const QString& customer, const QString& product, const QString& begin,
                                        const QString& end)
{
    QString sql = QStringLiteral("SELECT id, musteriadi, barkod, urunadi, fiyat, adet, odendimi, odemetarihi, "
                                 "kayittarihi%1 FROM veresiyeler where ")
                      .arg(m_db.recordsTill() ? QStringLiteral(", kasa") : QString());
    std::vector<QVariant> params;
    if (!customer.isEmpty()) {
        sql += QStringLiteral("musteriadi = ? and ");
        params.emplace_back(customer);
    }
    if (!product.isEmpty()) {
        sql += QStringLiteral("urunadi = ? and ");
        params.emplace_back(product);
    }
    sql += QStringLiteral("kayittarihi between ? and ? order by kayittarihi, id;");
    params.emplace_back(begin);
    params.emplace_back(end);
    Statement rows = m_db.prepare(sql);
    if (rows.isValid())
        rows.bindAll(params);
    return rows;
}

std::optional<std::vector<RecordLine>> CreditLinesTable::linesOfRecord(const QString& saleId)
{
    return LinesOfRecord(m_db, "veresiyeler", saleId);
}

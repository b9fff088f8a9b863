#include "store/PaymentsTable.h"

#include "store/TableRows.h"

bool PaymentsTable::insert(const RecordStamp& record, qint64 receiptNumber, const QString& barcode,
                           const QString& name, const QVariant& quantity, const QString& price,
                           std::optional<qint64> refundOf)
{
    std::vector<QVariant> values{receiptNumber, barcode, name, quantity, price, record.recordedAt, record.saleId,
                                 IntegerOrNull(refundOf)};
    const bool withTill = m_db.recordsTill();
    if (withTill)
        values.emplace_back(m_db.tillName());
    return m_db.ExecuteDirect(
        QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi,sale_id,refund_of%1) "
                       "values (%2);")
            .arg(withTill ? QStringLiteral(",kasa") : QString(), Placeholders(values.size())),
        values);
}

bool PaymentsTable::remove(qint64 id)
{
    return TableRows(m_db, "odemeler").remove(id);
}

qint64 PaymentsTable::rowCount()
{
    return TableRows(m_db, "odemeler").count();
}

Statement PaymentsTable::allRows()
{
    return TableRows(m_db, "odemeler").all();
}

bool PaymentsTable::removeAll()
{
    return TableRows(m_db, "odemeler").removeAll();
}

Statement PaymentsTable::historyRows(const QString& product, const QString& begin, const QString& end)
{
    QString sql = QStringLiteral("SELECT id, fisno, barkod, urunadi, fiyat, adet, odemetarihi%1 FROM odemeler where ")
                      .arg(m_db.recordsTill() ? QStringLiteral(", kasa") : QString());
    std::vector<QVariant> params;
    if (!product.isEmpty()) {
        sql += QStringLiteral("urunadi = ? and ");
        params.emplace_back(product);
    }
    sql += QStringLiteral("odemetarihi between ? and ? order by odemetarihi, id;");
    params.emplace_back(begin);
    params.emplace_back(end);
    Statement rows = m_db.prepare(sql);
    if (rows.isValid())
        rows.bindAll(params);
    return rows;
}

Statement PaymentsTable::topSellers(const QDate& first, const QDate& last, bool byUnits)
{
    Statement rows = m_db.prepare(QStringLiteral("SELECT barkod, %1 AS urunadi, SUM(adet) AS toplamadet, "
                                                 "sum(adet*fiyat) AS toplamfiyat FROM odemeler "
                                                 "where odemetarihi between ? and ? group by barkod order by %2 DESC;")
                                      .arg(m_db.anyValueSql(QStringLiteral("urunadi")),
                                           byUnits ? QStringLiteral("toplamadet") : QStringLiteral("toplamfiyat")));
    if (rows.isValid())
        rows.bindAll({first.toString(QStringLiteral("yyyy-MM-dd")), last.toString(QStringLiteral("yyyy-MM-dd"))});
    return rows;
}

std::optional<std::vector<RecordLine>> PaymentsTable::linesOfRecord(const QString& saleId)
{
    return LinesOfRecord(m_db, "odemeler", saleId);
}

#include "store/ProductBatchInsert.h"

ProductBatchInsert::ProductBatchInsert(Database& db)
    : m_db(db)
    , m_recorded(db.localNow())
    , m_batch(db.rowBatch(QStringLiteral("urunler"), {{QStringLiteral("barkod"), ColumnKind::Text},
                                                      {QStringLiteral("urunadi"), ColumnKind::Text},
                                                      {QStringLiteral("fiyat"), ColumnKind::Real},
                                                      {QStringLiteral("stok"), ColumnKind::Integer},
                                                      {QStringLiteral("kayittarihi"), ColumnKind::Text}}))
{
}

bool ProductBatchInsert::add(const QString& barcode, const QString& name, const QString& price,
                             const QString& stock, QString* failure)
{
    if (!m_batch->add({barcode, name, price, stock, m_recorded}, failure))
        return false;
    if (m_batch->full())
        sendBatch();
    return true;
}

void ProductBatchInsert::finish()
{
    sendBatch();
}

void ProductBatchInsert::sendBatch()
{
    if (!m_batch || m_batch->waiting() == 0 || m_batchFailed)
        return;
    m_batchFailed = !m_db.sendRows(*m_batch);
}

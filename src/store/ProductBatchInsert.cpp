#include "store/ProductBatchInsert.h"

#include "store/ProductsTable.h"

namespace {

// A text value in COPY's text format: the separators and the escape character escaped.
void appendField(QByteArray& rows, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '\\': rows += "\\\\"; break;
        case '\t': rows += "\\t"; break;
        case '\n': rows += "\\n"; break;
        case '\r': rows += "\\r"; break;
        default: rows += c;
        }
    }
}

// Rows per COPY: big enough that round trips cost nothing, small enough that a cancel is quick.
constexpr int kBatchRows = 5000;

QString invalidInput(const char* type, const QString& value)
{
    return QStringLiteral("invalid input syntax for type %1: \"%2\"").arg(QLatin1String(type), value);
}

} // namespace

ProductBatchInsert::ProductBatchInsert(Database& db)
    : m_db(db)
    , m_onServer(db.isOnServer())
    , m_recorded(db.localNow())
{
    if (!m_onServer)
        m_insert = ProductsTable(db).insertStatement();
}

bool ProductBatchInsert::add(const QString& barcode, const QString& name, const QString& price,
                             const QString& stock, QString* failure)
{
    if (m_onServer) {
        if (!addToBatch(barcode, name, price, stock, failure))
            return false;
        if (m_pending >= kBatchRows)
            sendBatch();
        return true;
    }
    m_insert.bindAll({barcode, name, price, stock, m_recorded});
    const bool inserted = m_insert.exec();
    if (!inserted)
        *failure = m_insert.error();
    m_insert.reset();
    return inserted;
}

void ProductBatchInsert::finish()
{
    if (m_onServer)
        sendBatch();
}

bool ProductBatchInsert::addToBatch(const QString& barcode, const QString& name, const QString& price,
                                    const QString& stock, QString* refusal)
{
    // The server's text columns cannot hold a NUL character.
    if (barcode.contains(QChar(0)) || name.contains(QChar(0))) {
        *refusal = QStringLiteral("invalid byte sequence for encoding \"UTF8\": 0x00");
        return false;
    }
    bool isNumber = false;
    const double priceValue = price.trimmed().toDouble(&isNumber);
    if (!isNumber) {
        *refusal = invalidInput("double precision", price);
        return false;
    }
    const qint64 stockValue = stock.trimmed().toLongLong(&isNumber);
    if (!isNumber) {
        *refusal = invalidInput("bigint", stock);
        return false;
    }
    appendField(m_rows, barcode);
    m_rows += '\t';
    appendField(m_rows, name);
    m_rows += '\t';
    m_rows += QByteArray::number(priceValue, 'g', 17); // the exact double, as a bound value would give it
    m_rows += '\t';
    m_rows += QByteArray::number(stockValue);
    m_rows += '\t';
    appendField(m_rows, m_recorded);
    m_rows += '\n';
    ++m_pending;
    return true;
}

void ProductBatchInsert::sendBatch()
{
    if (m_pending == 0 || m_batchFailed)
        return;
    m_batchFailed = !m_db.copyIn(QStringLiteral("COPY urunler (barkod, urunadi, fiyat, stok, kayittarihi) FROM STDIN;"), m_rows);
    m_rows.clear();
    m_pending = 0;
}

#include "store/PaymentsTable.h"

#include "store/Database.h"

bool PaymentsTable::insert(qint64 receiptNumber, const QString& barcode, const QString& name,
                           const QVariant& quantity, const QString& price)
{
    return m_db.ExecuteDirect(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat) values (?,?,?,?,?);"),
                              {receiptNumber, barcode, name, quantity, price});
}

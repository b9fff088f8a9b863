#include "reports/TopSellingReport.h"

#include "pos/Money.h"
#include "reports/ReportNumber.h"
#include "store/Database.h"

#include <QMetaType>

QString TopSellingAmountText(const DbValue& value)
{
    const int type = value.raw().typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong)
        return ReportAmountText(value.asDouble());
    double amount = 0;
    if (!TryReadNumber(value.asText(), amount))
        return QStringLiteral("0");
    return ReportAmountText(amount);
}

bool LoadTopSelling(Database& db, const QDate& begin, const QDate& end, TopSellingRanking ranking,
                    std::vector<QString>& cells)
{
    cells.clear();
    const QString order = ranking == TopSellingRanking::Quantity ? QStringLiteral("toplamadet")
                                                                 : QStringLiteral("toplamfiyat");
    Statement query = db.prepare(
        QStringLiteral("SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS toplamfiyat FROM odemeler "
                       "where odemetarihi between ? and ? group by barkod order by %1 DESC;")
            .arg(order));
    if (!query.isValid())
        return false;
    query.bind(1, begin.toString(QStringLiteral("yyyy-MM-dd")));
    query.bind(2, end.toString(QStringLiteral("yyyy-MM-dd")));
    while (query.next()) {
        cells.push_back(query.text(0));
        cells.push_back(query.text(1));
        cells.push_back(query.text(2));
        cells.push_back(TopSellingAmountText(query.value(3)));
    }
    if (!query.error().isEmpty()) {
        db.reportError(query.error());
        cells.clear();
        return false;
    }
    return true;
}

#include "reports/TopSellingReport.h"

#include "pos/Money.h"
#include "reports/ReportNumber.h"
#include "store/Database.h"

QString TopSellingAmountText(const DbValue& value)
{
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
    const QueryResult rows = db.Query(
        QStringLiteral("SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS toplamfiyat FROM odemeler "
                       "where odemetarihi between ? and ? group by barkod order by %1 DESC;")
            .arg(order),
        {begin.toString(QStringLiteral("yyyy-MM-dd")), end.toString(QStringLiteral("yyyy-MM-dd"))});
    if (!rows.ok)
        return false;
    cells.reserve(rows.size() * 4);
    for (const auto& row : rows.rows) {
        cells.push_back(row[0].asText());
        cells.push_back(row[1].asText());
        cells.push_back(row[2].asText());
        cells.push_back(TopSellingAmountText(row[3]));
    }
    return true;
}

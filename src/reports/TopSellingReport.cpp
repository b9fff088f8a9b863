#include "reports/TopSellingReport.h"

#include "core/LongTaskProgress.h"
#include "pos/Money.h"
#include "reports/ReportNumber.h"
#include "store/PaymentsTable.h"

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
                    std::vector<QString>& cells, LongTaskProgress* progress)
{
    cells.clear();
    Statement query = PaymentsTable(db).topSellers(begin, end, ranking == TopSellingRanking::Quantity);
    if (!query.isValid())
        return false;
    while (query.next()) {
        if (progress) {
            if (progress->cancelled()) {
                cells.clear();
                return false;
            }
            progress->advance();
        }
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

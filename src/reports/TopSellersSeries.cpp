#include "reports/TopSellersSeries.h"

#include "pos/Money.h"
#include "reports/TextTableModel.h"
#include "reports/TopSellingReport.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

enum Column { Barcode, Product, Units, Amount };

} // namespace

std::vector<TopSeller> TopSellers(const TextTableModel& list, TopSellingRanking ranking, int count)
{
    const int rows = std::min(count, list.rowCount());
    const int valueColumn = ranking == TopSellingRanking::Quantity ? Units : Amount;
    std::vector<TopSeller> sellers;
    QHash<QString, int> nameCount;
    for (int row = 0; row < rows; ++row) {
        TopSeller seller;
        seller.barcode = list.text(row, Barcode);
        seller.label = list.text(row, Product).trimmed();
        if (!TryReadNumber(list.text(row, valueColumn), seller.value))
            seller.value = 0;
        ++nameCount[seller.label];
        sellers.push_back(seller);
    }
    // A chart's categories must differ: a name sold under two barcodes (or none at all) gets its barcode.
    QSet<QString> used;
    for (TopSeller& seller : sellers) {
        if (seller.label.isEmpty())
            seller.label = seller.barcode.isEmpty() ? QStringLiteral("-") : seller.barcode;
        else if (nameCount.value(seller.label) > 1)
            seller.label += QStringLiteral(" (") + seller.barcode + QLatin1Char(')');
        // The same barcode twice cannot come from one ranking, but an empty name with an empty barcode can.
        QString label = seller.label;
        for (int n = 2; used.contains(label); ++n)
            label = seller.label + QStringLiteral(" #") + QString::number(n);
        seller.label = label;
        used.insert(label);
    }
    return sellers;
}

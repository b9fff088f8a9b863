#pragma once

#include "reports/TopSellersSeries.h"
#include "reports/ui/ChartPanel.h"

#include <vector>

class QChart;
enum class TopSellingRanking;

// The first rows of the top selling list as horizontal bars, the best seller at the top. Hovering a bar shows
// the product and its units or takings.
class TopSellersChart : public ChartPanel
{
    Q_OBJECT

public:
    TopSellersChart(Dialogs& dialogs, QString currencySymbol, QWidget* parent = nullptr);

    void setSellers(std::vector<TopSeller> sellers, TopSellingRanking ranking);
    const std::vector<TopSeller>& sellers() const { return m_sellers; }
    // The tooltip of the seller at this place of the list (0 for the first).
    QString barTip(int index) const;

private:
    QChart* buildChart();

    QString m_currencySymbol;
    std::vector<TopSeller> m_sellers;
    TopSellingRanking m_ranking;
};

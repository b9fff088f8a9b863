#include "reports/ui/TopSellersChart.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "reports/TopSellingReport.h"
#include "reports/ui/ChartColors.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QValueAxis>

#include <algorithm>

TopSellersChart::TopSellersChart(Dialogs& dialogs, QString currencySymbol, QWidget* parent)
    : ChartPanel(dialogs, QStringLiteral("TopSellersChart"), TranslateText("Top sellers chart"), parent)
    , m_currencySymbol(std::move(currencySymbol))
    , m_ranking(TopSellingRanking::Quantity)
{
    connect(this, &ChartPanel::paletteChanged, this, [this] { setChart(buildChart()); });
    setChart(buildChart());
}

void TopSellersChart::setSellers(std::vector<TopSeller> sellers, TopSellingRanking ranking)
{
    m_sellers = std::move(sellers);
    m_ranking = ranking;
    setChart(buildChart());
}

QChart* TopSellersChart::buildChart()
{
    const ChartColors colors = ChartColors::fromPalette(palette());
    auto* chart = new QChart;
    chart->setTitle(m_ranking == TopSellingRanking::Quantity ? TranslateText("Top sellers by units")
                                                             : TranslateText("Top sellers by takings"));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setVisible(false);

    auto* set = new QBarSet(QString());
    QStringList labels;
    double low = 0;
    double high = 0;
    // Horizontal bars are drawn from the bottom up: the list goes in from its end, so the first is on top.
    for (auto seller = m_sellers.rbegin(); seller != m_sellers.rend(); ++seller) {
        *set << seller->value;
        labels << seller->label;
        low = std::min(low, seller->value);
        high = std::max(high, seller->value);
    }
    set->setColor(colors.bars);
    set->setBorderColor(colors.bars);
    auto* bars = new QHorizontalBarSeries;
    bars->setBarWidth(0.7);
    bars->append(set);
    chart->addSeries(bars);

    auto* products = new QBarCategoryAxis;
    products->append(labels);
    chart->addAxis(products, Qt::AlignLeft);
    bars->attachAxis(products);
    auto* values = new QValueAxis;
    values->setRange(low, high > low ? high : low + 1);
    values->applyNiceNumbers();
    values->setLabelFormat(m_ranking == TopSellingRanking::Quantity || high - low >= 100 ? QStringLiteral("%.0f")
                                                                                         : QStringLiteral("%.2f"));
    chart->addAxis(values, Qt::AlignBottom);
    bars->attachAxis(values);
    colors.applyTo(*chart);

    connect(bars, &QHorizontalBarSeries::hovered, this,
            [this](bool entered, int bar, QBarSet*) {
                setBarTip(entered ? barTip(int(m_sellers.size()) - 1 - bar) : QString());
            });
    return chart;
}

QString TopSellersChart::barTip(int index) const
{
    if (index < 0 || size_t(index) >= m_sellers.size())
        return {};
    const TopSeller& seller = m_sellers[size_t(index)];
    const QString value = m_ranking == TopSellingRanking::Quantity ? GeneralNumberText(seller.value)
                                                                   : MoneyWithSymbol(m_currencySymbol, seller.value);
    return seller.label + QStringLiteral(": ") + value;
}

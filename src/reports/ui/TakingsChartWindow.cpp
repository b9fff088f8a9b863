#include "reports/ui/TakingsChartWindow.h"

#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "reports/ui/ChartColors.h"
#include "reports/ui/ChartPanel.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QPushButton>
#include <QValueAxis>

#include <algorithm>

namespace {

QString chartTitle(TakingsGrouping grouping)
{
    switch (grouping) {
    case TakingsGrouping::Day: return TranslateText("Takings per day");
    case TakingsGrouping::Week: return TranslateText("Takings per week");
    case TakingsGrouping::Month: return TranslateText("Takings per month");
    case TakingsGrouping::Year: return TranslateText("Takings per year");
    }
    return {};
}

// Beyond this many labels they stand upright so they do not run into each other.
constexpr int kLevelLabels = 12;
// At most this many bars are labelled: every second, third ... bar beyond it, so the labels stay readable.
constexpr int kMostLabels = 31;

} // namespace

TakingsChartWindow::TakingsChartWindow(Dialogs& dialogs, TakingsSeries series, Format format, QWidget* parent)
    : QDialog(parent)
    , m_series(std::move(series))
    , m_format(std::move(format))
{
    setObjectName(QStringLiteral("FormTakingsChart"));
    setWindowTitle(chartTitle(m_series.grouping));
    resize(900, 560);

    Chart = new ChartPanel(dialogs, QStringLiteral("TakingsChart"), TranslateText("Takings chart"), this);
    CloseButton = new QPushButton(TranslateText("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    Chart->addButton(CloseButton);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Chart, &ChartPanel::paletteChanged, this, [this] { Chart->setChart(buildChart()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Chart);
    Chart->setChart(buildChart());
    Chart->view()->setFocus();
}

QBarSet* TakingsChartWindow::makeSet(const QString& name, double TakingsBucket::*amount, const QColor& color,
                                     const QColor& weekendColor)
{
    auto* set = new QBarSet(name);
    QList<qreal> values;
    QList<int> weekends;
    values.reserve(qsizetype(m_series.buckets.size()));
    for (size_t i = 0; i < m_series.buckets.size(); ++i) {
        values << m_series.buckets[i].*amount;
        if (m_series.buckets[i].weekend)
            weekends << int(i);
    }
    set->append(values);
    set->setColor(color);
    set->setBorderColor(color);
    // Weekends are drawn as selected bars, in their own colour.
    set->setSelectedColor(weekendColor);
    set->selectBars(weekends);
    return set;
}

QChart* TakingsChartWindow::buildChart()
{
    const ChartColors colors = ChartColors::fromPalette(palette());
    auto* chart = new QChart;
    chart->setTitle(chartTitle(m_series.grouping));
    chart->setAnimationOptions(QChart::NoAnimation);

    auto* bars = new QBarSeries;
    bars->setBarWidth(0.8);
    bars->append(makeSet(TranslateText("Payments"), &TakingsBucket::payments, colors.bars, colors.barsApart));
    if (m_series.withCredits)
        bars->append(makeSet(TranslateText("Credit sales"), &TakingsBucket::credits, colors.secondBars,
                             colors.secondBarsApart));
    chart->addSeries(bars);

    // Bar i stands at i; its label, when it has one, right under it.
    const int count = int(m_series.buckets.size());
    const int step = (count + kMostLabels - 1) / kMostLabels;
    auto* days = new QCategoryAxis;
    days->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    days->setStartValue(-0.5);
    days->setRange(-0.5, std::max(count, 1) - 0.5);
    days->setTruncateLabels(false);
    days->setGridLineVisible(false);
    double low = 0;
    double high = 0;
    for (int i = 0; i < count; ++i) {
        const TakingsBucket& bucket = m_series.buckets[size_t(i)];
        if (i % step == 0)
            days->append(TakingsBarLabel(bucket, m_series.grouping, m_format.shortDateFormat), i);
        low = std::min({low, bucket.payments, bucket.credits});
        high = std::max({high, bucket.payments, bucket.credits});
    }
    if (days->count() > kLevelLabels)
        days->setLabelsAngle(-90);
    chart->addAxis(days, Qt::AlignBottom);
    bars->attachAxis(days);

    auto* amounts = new QValueAxis;
    amounts->setRange(low, high > low ? high : low + 1);
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(high - low >= 100 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
    chart->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(amounts);

    chart->legend()->setVisible(m_series.withCredits);
    chart->legend()->setAlignment(Qt::AlignBottom);
    colors.applyTo(*chart);

    connect(bars, &QBarSeries::hovered, this, [this, bars](bool entered, int index, QBarSet* set) {
        Chart->setBarTip(entered ? barTip(int(bars->barSets().indexOf(set)), index) : QString());
    });
    return chart;
}

QString TakingsChartWindow::barTip(int series, int index) const
{
    if (index < 0 || size_t(index) >= m_series.buckets.size())
        return {};
    const TakingsBucket& bucket = m_series.buckets[size_t(index)];
    const double amount = series == 1 ? bucket.credits : bucket.payments;
    const QString name = series == 1 ? TranslateText("Credit sales") : TranslateText("Payments");
    return name + QLatin1Char('\n') + TakingsBarPeriod(bucket, m_series.grouping, m_format.shortDateFormat)
           + QStringLiteral(": ") + MoneyWithSymbol(m_format.currencySymbol, amount);
}

#include "app/ui/ThemeApply.h"
#include "app/Themes.h"
#include "pos/Money.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "reports/TextTableModel.h"
#include "reports/ui/TFormTopSelling.h"
#include "reports/ui/ChartColors.h"
#include "reports/ui/ChartPanel.h"
#include "reports/ui/TakingsChartWindow.h"
#include "reports/ui/TopSellersChart.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QImageReader>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <memory>

// The takings chart of the sales history screen and the top sellers chart of the top selling report, on a real
// data.db; the fixed clock says 2025-01-31 14:05:09 and dates read dd.MM.yyyy. The visual style comes from the
// settings through the main window.

namespace {

class ChartWindowsTest : public AppFixture
{
protected:
    void TearDown() override
    {
        m_history.reset();
        AppFixture::TearDown();
        ApplyTheme(0);
    }

    AppContext& appContext() { return form ? form->context() : *context; }

    void addPayment(const QString& barcode, const QString& product, int quantity, double price, const QString& paidAt)
    {
        ASSERT_TRUE(appContext().SQLConnection1().ExecuteDirect(
            QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) values (1,?,?,?,?,?)"),
            {barcode, product, quantity, price, paidAt}));
    }

    void addCredit(int quantity, double price, const QString& soldAt)
    {
        ASSERT_TRUE(appContext().SQLConnection1().ExecuteDirect(
            QStringLiteral("insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat,odendimi,"
                           "kayittarihi) values (1,'Ayla','B','Tea',?,?,0,?)"),
            {quantity, price, soldAt}));
    }

    // The sales history screen on the context, opened as the main window opens it.
    void startHistory()
    {
        m_history = std::make_unique<SalesHistoryScreen>(startContext());
        m_history->setCaptions();
        m_history->fillFilterLists();
        m_history->show();
        m_history->prepare();
    }

    template <typename Control>
    Control* historyControl(const char* name)
    {
        return FindControl<Control>(*m_history, name);
    }

    // Lists the payments ("BitBtn18") or credits ("BitBtn19") of the days (the end at its midnight).
    void listHistory(const char* listButton, const QDate& begin, const QDate& end)
    {
        historyControl<QDateEdit>("DateTimePicker1")->setDate(begin);
        historyControl<QDateEdit>("DateTimePicker2")->setDate(end);
        QTest::mouseClick(historyControl<QPushButton>(listButton), Qt::LeftButton);
    }

    // Runs the script on the next modal window, shown on the screen so that its chart is laid out.
    template <typename Window>
    void onNextWindow(bool& ran, std::function<void(Window&)> script)
    {
        dialogs.modalScripts.push_back([&ran, script](QDialog& dialog) {
            auto* window = qobject_cast<Window*>(&dialog);
            EXPECT_NE(window, nullptr);
            if (window) {
                dialog.show();
                dialog.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
                QApplication::processEvents();
                ran = true;
                script(*window);
            }
            return int(QDialog::Rejected);
        });
    }

    static ChartPanel& takingsChart(const TakingsChartWindow& w)
    {
        return *FindControl<ChartPanel>(w, "TakingsChart");
    }

    static TopSellersChart& topSellersChart(const TFormTopSelling& w)
    {
        return *FindControl<TopSellersChart>(w, "TopSellersChart");
    }

    // A button of a chart panel, named after the panel ("TakingsChartSave").
    static QPushButton* panelButton(const ChartPanel& panel, const char* which)
    {
        const QByteArray name = panel.objectName().toLatin1() + which;
        return FindControl<QPushButton>(panel, name.constData());
    }

    static void waitFor(QTimer* timer)
    {
        for (int i = 0; i < 200 && timer->isActive(); ++i)
            QTest::qWait(5);
        ASSERT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    }

    static QList<qreal> values(QBarSet* set)
    {
        QList<qreal> out;
        for (int i = 0; i < set->count(); ++i)
            out << set->at(i);
        return out;
    }

    static int pixelsOf(const QImage& image, const QColor& color)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y).rgb() == color.rgb();
        return count;
    }

    // The picture is the chart as shown: the background, the bars in their colours, and text.
    static void expectDrawn(const ChartPanel& panel, int barColors = 1)
    {
        const QImage picture = panel.picture();
        EXPECT_EQ(picture.size(), panel.view()->size());
        const ChartColors colors = ChartColors::fromPalette(panel.palette());
        EXPECT_GT(pixelsOf(picture, colors.background), picture.width() * picture.height() / 4);
        EXPECT_GT(pixelsOf(picture, colors.bars), 100);
        if (barColors > 1) {
            EXPECT_GT(pixelsOf(picture, colors.barsApart), 100);
        }
        EXPECT_GT(pixelsOf(picture, colors.text), 20); // the title and the axis labels
    }

    // The picture saved through the file dialog opens as a PNG of the chart's size; printing writes the page.
    void expectSavedAndPrinted(ChartPanel& panel)
    {
        const QString png = dataFile(QStringLiteral("chart.png"));
        dialogs.fileAnswers.push_back(png);
        QTest::mouseClick(panelButton(panel, "Save"), Qt::LeftButton);
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("save"));
        EXPECT_EQ(dialogs.shown.back().file.defaultSuffix, QStringLiteral("png"));
        QImageReader reader(png);
        EXPECT_EQ(reader.format(), QByteArray("png"));
        const QImage saved = reader.read();
        EXPECT_EQ(saved.size(), panel.view()->size());

        const QString pdf = dataFile(QStringLiteral("chart.pdf"));
        dialogs.printAnswers.push_back(pdf);
        QTest::mouseClick(panelButton(panel, "Print"), Qt::LeftButton);
        QFile printed(pdf);
        ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
        EXPECT_TRUE(printed.read(5).startsWith("%PDF-"));
        EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(QLatin1Char('|')).toStdString();
    }

    // The mouse moved over a point of the chart with no button down.
    static void hover(QChartView* view, const QPoint& at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
    }

    static QBarSeries* takingsBars(TakingsChartWindow& w)
    {
        return qobject_cast<QBarSeries*>(takingsChart(w).view()->chart()->series().value(0));
    }

    // The labels under the bars (takings) or beside them (top sellers).
    static QStringList categories(QChart* chart, Qt::Orientation orientation)
    {
        QAbstractAxis* axis = chart->axes(orientation).value(0);
        if (auto* labelled = qobject_cast<QCategoryAxis*>(axis))
            return labelled->categoriesLabels();
        if (auto* categoryAxis = qobject_cast<QBarCategoryAxis*>(axis))
            return categoryAxis->categories();
        return {QStringLiteral("<no axis>")};
    }

    std::unique_ptr<SalesHistoryScreen> m_history;
};

TEST_F(ChartWindowsTest, TakingsChartHasABarForEveryDayOfTheListedRangeWeekendsApart)
{
    startHistory();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 2, 1.10, QStringLiteral("2025-03-28 09:00:00"));
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 3, 2.50, QStringLiteral("2025-03-30 02:30:00"));
    addPayment(QStringLiteral("B"), QStringLiteral("Milk"), 1, 4, QStringLiteral("2025-03-30 23:30:00"));
    addPayment(QStringLiteral("B"), QStringLiteral("Milk"), 2, 0.35, QStringLiteral("2025-04-01 00:00:00"));
    listHistory("BitBtn18", QDate(2025, 3, 28), QDate(2025, 4, 2));
    EXPECT_EQ(historyControl<QPushButton>("ChartButton")->text(), QStringLiteral("Chart"));

    bool ran = false;
    onNextWindow<TakingsChartWindow>(ran, [&](TakingsChartWindow& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Takings per day"));
        QBarSeries* bars = takingsBars(w);
        ASSERT_NE(bars, nullptr);
        ASSERT_EQ(bars->count(), 1);
        QBarSet* payments = bars->barSets().at(0);
        EXPECT_EQ(values(payments), (QList<qreal>{2.2, 0, 11.5, 0, 0.7}));
        EXPECT_EQ(categories(takingsChart(w).view()->chart(), Qt::Horizontal),
                  (QStringList{"28.03.2025", "29.03.2025", "30.03.2025", "31.03.2025", "01.04.2025"}));
        QList<int> weekend = payments->selectedBars();
        std::sort(weekend.begin(), weekend.end());
        EXPECT_EQ(weekend, (QList<int>{1, 2})); // Saturday and Sunday
        EXPECT_NE(payments->selectedColor(), payments->color());
        // Hovering the bar of the Sunday shows its day and amount.
        QChartView* view = takingsChart(w).view();
        const QPoint onBar = view->mapFromScene(view->chart()->mapToPosition(QPointF(2, 5), bars));
        hover(view, onBar);
        const QString tip = QStringLiteral("Payments\n30.03.2025: ") + MoneyWithSymbol(context->receipts.CurrencySymbol, 11.5);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), tip);
        // The tooltip request that follows a pause of the mouse keeps it (a tooltip asked away goes after 300 ms).
        QHelpEvent request(QEvent::ToolTip, onBar, view->viewport()->mapToGlobal(onBar));
        QApplication::sendEvent(view->viewport(), &request);
        QTest::qWait(500);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), tip);
        expectDrawn(takingsChart(w), 2);
        expectSavedAndPrinted(takingsChart(w));
    });
    QTest::mouseClick(historyControl<QPushButton>("ChartButton"), Qt::LeftButton);
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.modalWindows, QStringList{QStringLiteral("FormTakingsChart")});
}

TEST_F(ChartWindowsTest, CreditsListChartsItsCreditSalesBesideThePaymentsOfTheSameDays)
{
    startHistory();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 1, 3, QStringLiteral("2025-01-30 10:00:00"));
    addCredit(2, 1.25, QStringLiteral("2025-01-29 12:00:00"));
    // The payments were listed for other days: the chart reads those of the credits' days.
    listHistory("BitBtn18", QDate(2025, 1, 31), QDate(2025, 2, 1));
    listHistory("BitBtn19", QDate(2025, 1, 29), QDate(2025, 2, 1));

    bool ran = false;
    onNextWindow<TakingsChartWindow>(ran, [&](TakingsChartWindow& w) {
        QBarSeries* bars = takingsBars(w);
        ASSERT_NE(bars, nullptr);
        ASSERT_EQ(bars->count(), 2);
        EXPECT_EQ(values(bars->barSets().at(0)), (QList<qreal>{0, 3, 0}));
        EXPECT_EQ(values(bars->barSets().at(1)), (QList<qreal>{2.5, 0, 0}));
        EXPECT_EQ(bars->barSets().at(1)->label(), QStringLiteral("Credit sales"));
        EXPECT_TRUE(takingsChart(w).view()->chart()->legend()->isVisible());
        expectDrawn(takingsChart(w));
    });
    QTest::mouseClick(historyControl<QPushButton>("ChartButton"), Qt::LeftButton);
    EXPECT_TRUE(ran);
}

TEST_F(ChartWindowsTest, HalfAYearIsChartedByWeek)
{
    startHistory();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 1, 8, QStringLiteral("2025-01-05 23:00:00"));
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 1, 16, QStringLiteral("2025-01-06 00:00:00"));
    listHistory("BitBtn18", QDate(2025, 1, 1), QDate(2025, 7, 1));

    bool ran = false;
    onNextWindow<TakingsChartWindow>(ran, [&](TakingsChartWindow& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Takings per week"));
        QBarSeries* bars = takingsBars(w);
        ASSERT_NE(bars, nullptr);
        EXPECT_EQ(bars->barSets().at(0)->count(), 27);
        EXPECT_EQ(categories(takingsChart(w).view()->chart(), Qt::Horizontal).mid(0, 2),
                  (QStringList{"01.01.2025", "06.01.2025"}));
        EXPECT_EQ(w.barTip(0, 0), QStringLiteral("Payments\n01.01.2025 - 05.01.2025: ")
                                      + MoneyWithSymbol(context->receipts.CurrencySymbol, 8));
        expectDrawn(takingsChart(w));
    });
    QTest::mouseClick(historyControl<QPushButton>("ChartButton"), Qt::LeftButton);
    EXPECT_TRUE(ran);
}

TEST_F(ChartWindowsTest, TopSellersChartFollowsTheRankingAndTheDates)
{
    startContext();
    for (int i = 0; i < 12; ++i)
        addPayment(QStringLiteral("P%1").arg(i), QStringLiteral("Product %1").arg(i), 20 - i, 1 + i * 0.5,
                   QStringLiteral("2025-01-30 10:00:00"));
    addPayment(QStringLiteral("OLD"), QStringLiteral("Old"), 1, 1, QStringLiteral("2024-06-01 10:00:00"));

    TFormTopSelling report(*context);
    report.show();
    report.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&report));
    TopSellersChart& panel = topSellersChart(report);
    waitFor(FindControl<QTimer>(report, "Timer1"));
    QChart* chart = panel.view()->chart();
    auto* bars = qobject_cast<QHorizontalBarSeries*>(chart->series().value(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(chart->title(), QStringLiteral("Top sellers by units"));
    // Bars go from the bottom up: the best seller is the last, on top.
    EXPECT_EQ(bars->barSets().at(0)->count(), 10);
    EXPECT_EQ(categories(chart, Qt::Vertical).mid(8),
              (QStringList{QStringLiteral("Product 1"), QStringLiteral("Product 0")}));
    EXPECT_EQ(bars->barSets().at(0)->at(9), 20);
    EXPECT_EQ(panel.barTip(1), QStringLiteral("Product 1: 19"));
    QChartView* view = panel.view();
    hover(view, view->mapFromScene(chart->mapToPosition(QPointF(5, 8), bars)));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Product 1: 19"));
    QApplication::processEvents();
    expectDrawn(panel);

    // Ranked by amount: 11 x 5.50 leads.
    QTest::mouseClick(FindControl<QRadioButton>(report, "RadioButton2"), Qt::LeftButton);
    waitFor(FindControl<QTimer>(report, "Timer2"));
    chart = panel.view()->chart();
    bars = qobject_cast<QHorizontalBarSeries*>(chart->series().value(0));
    EXPECT_EQ(chart->title(), QStringLiteral("Top sellers by takings"));
    EXPECT_EQ(report.model()->text(0, 1), QStringLiteral("Product 9"));
    EXPECT_EQ(categories(chart, Qt::Vertical).value(9), QStringLiteral("Product 9"));
    EXPECT_EQ(bars->barSets().at(0)->at(9), 60.5);
    EXPECT_EQ(panel.barTip(0), QStringLiteral("Product 9: ") + MoneyWithSymbol(context->receipts.CurrencySymbol, 60.5));

    // Only last year's line is left in the range.
    FindControl<QDateEdit>(report, "DateTimePicker2")->setDate(QDate(2025, 1, 1));
    waitFor(FindControl<QTimer>(report, "Timer2"));
    EXPECT_EQ(categories(panel.view()->chart(), Qt::Vertical), QStringList{QStringLiteral("Old")});
    QApplication::processEvents();
    expectSavedAndPrinted(panel);

    // A picture that cannot be written is reported, not taken for saved.
    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("no such folder/chart.png")));
    QTest::mouseClick(panelButton(panel, "Save"), Qt::LeftButton);
    const ScriptedDialogs::Shown* shown = dialogs.lastMessage();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->icon, Dialogs::Icon::Error);
    EXPECT_TRUE(shown->text.startsWith(QStringLiteral("The picture could not be saved.\n")))
        << shown->text.toStdString();
}

TEST_F(ChartWindowsTest, ChartsTakeTheirColoursFromTheVisualStyleInForce)
{
    writeSettings({QStringLiteral("VCL=%1").arg(ThemeIndexOf(QStringLiteral("Metropolis UI Dark")))});
    start();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 5, 2, QStringLiteral("2025-01-30 10:00:00"));

    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog& dialog) {
        auto& w = static_cast<TFormTopSelling&>(dialog);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        waitFor(FindControl<QTimer>(w, "Timer1"));
        QApplication::processEvents();
        TopSellersChart& panel = topSellersChart(w);
        const QPalette dark = QApplication::palette();
        EXPECT_LT(RelativeLuminance(dark.color(QPalette::Window)), 0.2);
        QChart* chart = panel.view()->chart();
        EXPECT_EQ(chart->backgroundBrush().color(), dark.color(QPalette::Window));
        EXPECT_EQ(chart->titleBrush().color(), dark.color(QPalette::WindowText));
        const ChartColors colors = ChartColors::fromPalette(dark);
        EXPECT_GE(ContrastRatio(colors.bars, colors.background), 2.0);
        EXPECT_GE(ContrastRatio(colors.barsApart, colors.background), 1.3);
        expectDrawn(panel);

        // Switched to a light style while it is open, the chart is drawn again in the new colours.
        ApplyTheme(ThemeIndexOf(QStringLiteral("Light")));
        QApplication::processEvents();
        EXPECT_EQ(panel.view()->chart()->backgroundBrush().color(),
                  QApplication::palette().color(QPalette::Window));
        EXPECT_NE(panel.view()->chart()->backgroundBrush().color(), dark.color(QPalette::Window));
        ran = true;
        return int(QDialog::Rejected);
    });
    form->action(QStringLiteral("TopSelling1"))->trigger();
    EXPECT_TRUE(ran);
}

} // namespace

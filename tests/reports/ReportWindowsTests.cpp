#include "barcode/ui/TGenerateBarcodeForm.h"
#include "reports/StockCountSheet.h"
#include "reports/TextTableModel.h"
#include "reports/ui/TStockSheetForm.h"
#include "reports/ui/TFormTopSelling.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The top selling report and the stock count sheet on a real data.db: on their own, or opened from the "Reports"
// menu of the main window where what the menu does is part of the test.

namespace {

class ReportWindowsTest : public AppFixture
{
protected:
    AppContext& appContext() { return form ? form->context() : *context; }

    void exec(const QString& sql, const std::vector<QVariant>& params = {})
    {
        ASSERT_TRUE(appContext().SQLConnection1().ExecuteDirect(sql, params));
    }

    void addPayment(const QString& barcode, const QString& product, int quantity, double price, const QString& paidAt)
    {
        exec(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) values (?,?,?,?,?,?)"),
             {1, barcode, product, quantity, price, paidAt});
    }

    void addProduct(const QString& barcode, const QString& name, const QVariant& price, const QVariant& stock,
                    const QString& registered)
    {
        exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values (?, ?, ?, ?, ?)"),
             {barcode, name, price, stock, registered});
    }

    // Runs the events until the timer has fired (it stops itself).
    static void waitFor(QTimer* timer)
    {
        for (int i = 0; i < 200 && timer->isActive(); ++i)
            QTest::qWait(5);
        ASSERT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    }

    static void waitUntil(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 400 && !condition(); ++i)
            QTest::qWait(5);
        EXPECT_TRUE(condition());
    }

    static QStringList rows(const TextTableModel& model)
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.rowTexts(row).join(QLatin1Char('|'));
        return out;
    }

    static QStringList column(const TextTableModel& model, int column)
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.text(row, column);
        return out;
    }

    QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Opens a report from the menu; the script drives the window while it is modal.
    template <typename Window>
    void openReport(const char* menuAction, std::function<void(Window&)> script)
    {
        bool ran = false;
        dialogs.modalScripts.push_back([&](QDialog& dialog) {
            auto* window = qobject_cast<Window*>(&dialog);
            EXPECT_NE(window, nullptr);
            if (window) {
                ran = true;
                script(*window);
            }
            return int(QDialog::Rejected);
        });
        form->action(QString::fromLatin1(menuAction))->trigger();
        EXPECT_TRUE(ran);
    }
};

TEST_F(ReportWindowsTest, TopSellingRanksThePaidLinesOfTheRangeByQuantityThenByAmount)
{
    start();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 5, 1, QStringLiteral("2025-01-31 09:00:00"));
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 1, 10, QStringLiteral("2025-01-30 09:00:00"));
    addPayment(QStringLiteral("B"), QStringLiteral("Milk; 1 \"L\""), 4, 5, QStringLiteral("2024-06-01 12:00:00"));
    addPayment(QStringLiteral("D"), QStringLiteral("Old"), 1, 2.675, QStringLiteral("2000-01-01 08:00:00"));
    // Stamped on the end date (tomorrow) with a time: later than the bare end date.
    addPayment(QStringLiteral("C"), QStringLiteral("Tomorrow"), 100, 1, QStringLiteral("2025-02-01 10:00:00"));
    // Open credit lines are not counted.
    exec(QStringLiteral("insert into veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) values "
                        "('Ayla', 'E', 'Credit', 50, 1, '2025-01-31 09:00:00')"));

    openReport<TFormTopSelling>("TopSelling1", [&](TFormTopSelling& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Top Selling Products"));
        EXPECT_EQ(FindControl<QDateEdit>(w, "DateTimePicker1")->date(), QDate(2000, 1, 1));
        EXPECT_EQ(FindControl<QDateEdit>(w, "DateTimePicker2")->date(), QDate(2025, 2, 1));
        EXPECT_TRUE(FindControl<QRadioButton>(w, "RadioButton1")->isChecked());
        waitFor(FindControl<QTimer>(w, "Timer1"));
        EXPECT_EQ(rows(*w.model()), (QStringList{QStringLiteral("A|Tea|6|15.00"),
                                                 QStringLiteral("B|Milk; 1 \"L\"|4|20.00"),
                                                 QStringLiteral("D|Old|1|2.68")}));
        EXPECT_EQ(w.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Unit"));

        QTest::mouseClick(FindControl<QRadioButton>(w, "RadioButton2"), Qt::LeftButton);
        waitFor(FindControl<QTimer>(w, "Timer2"));
        EXPECT_EQ(column(*w.model(), 0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("D")}));
        EXPECT_EQ(rows(*w.model()).at(1), QStringLiteral("A|Tea|6|15.00"));

        dialogs.fileAnswers.push_back(dataFile(QStringLiteral("top.csv")));
        FindControl<QPushButton>(w, "BitBtn1")->click();
        EXPECT_EQ(bytesOf(dataFile(QStringLiteral("top.csv"))),
                  QByteArray("Barcode;Product;Unit;Price\r\n"
                             "B;\"Milk; 1 \"\"L\"\"\";4;20.00\r\n"
                             "A;Tea;6;15.00\r\n"
                             "D;Old;1;2.68\r\n"));
        ASSERT_EQ(dialogs.shown.back().kind, QStringLiteral("save"));
        EXPECT_EQ(dialogs.shown.back().file.filter, QStringLiteral("CSV File (*.csv)|*.csv"));
        EXPECT_TRUE(dialogs.shown.back().file.confirmOverwrite);
    });
    EXPECT_EQ(dialogs.modalWindows, QStringList{QStringLiteral("FormTopSelling")});
}

TEST_F(ReportWindowsTest, TopSellingRangeWithoutSalesListsAndExportsNothingButTheHeader)
{
    startContext();
    addPayment(QStringLiteral("A"), QStringLiteral("Tea"), 5, 1, QStringLiteral("2025-01-31 09:00:00"));
    TFormTopSelling report(*context);
    auto* begin = FindControl<QDateEdit>(report, "DateTimePicker1");
    auto* timer1 = FindControl<QTimer>(report, "Timer1");
    auto* timer2 = FindControl<QTimer>(report, "Timer2");
    waitFor(timer1);
    ASSERT_EQ(report.model()->rowCount(), 1);
    // Price ranking selected: a date change re-runs the amount ranking.
    FindControl<QRadioButton>(report, "RadioButton2")->setChecked(true);
    begin->setDate(QDate(2025, 2, 1));
    EXPECT_TRUE(timer2->isActive());
    EXPECT_FALSE(timer1->isActive());
    waitFor(timer2);
    EXPECT_EQ(report.model()->rowCount(), 0); // begin after end

    begin->setDate(QDate(2010, 1, 1));
    FindControl<QDateEdit>(report, "DateTimePicker2")->setDate(QDate(2010, 2, 1));
    waitFor(timer2);
    EXPECT_EQ(report.model()->rowCount(), 0);
    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("none.csv")));
    FindControl<QPushButton>(report, "BitBtn1")->click();
    EXPECT_EQ(bytesOf(dataFile(QStringLiteral("none.csv"))), QByteArray("Barcode;Product;Unit;Price\r\n"));
}

TEST(StockSheetText, ComparesIgnoringTheCaseOfAToZOnly)
{
    const struct
    {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"apple", "APPLE", 0}, {"apple", "Banana", -1}, {"10", "9", -1}, {"Zeta", "_x", -1},
        {"ab", "abc", -1},     {"b", "a", 1},           {"", "", 0},
    };
    for (const auto& c : cases) {
        const int order = CompareSheetText(QString::fromLatin1(c.a), QString::fromLatin1(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " / " << c.b;
    }
    // Letters beyond A to Z keep their own codes.
    EXPECT_NE(CompareSheetText(QStringLiteral("\u00e4"), QStringLiteral("\u00c4")), 0);
}

TEST_F(ReportWindowsTest, StockSheetOpensByStockAndSortsByHeaderClicksAsText)
{
    startContext();
    addProduct(QStringLiteral("300"), QStringLiteral("banana"), 1.5, 9, QStringLiteral("2024-05-01 14:03:27"));
    addProduct(QStringLiteral("1000"), QStringLiteral("Apple"), 12, 10, QStringLiteral("2024-05-02 09:00:00"));
    addProduct(QStringLiteral("20"), QStringLiteral("cherry"), QStringLiteral("n/a"), 100, QStringLiteral("legacy"));

    TStockSheetForm sheet(*context);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Stock Inventory Count Sheet"));
    waitFor(FindControl<QTimer>(sheet, "Timer1"));
    const TextTableModel& m = *sheet.model();
    EXPECT_EQ(rows(m), (QStringList{QStringLiteral("20|cherry|0|100|legacy"),
                                    QStringLiteral("1000|Apple|12.00|10|2024-05-02 09:00:00"),
                                    QStringLiteral("300|banana|1.50|9|2024-05-01 14:03:27")}));

    QHeaderView* header = FindControl<QTableView>(sheet, "ListView1")->horizontalHeader();
    const auto click = [&](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    const struct
    {
        int section;
        QStringList barcodes;
    } clicks[] = {
        {0, {"300", "20", "1000"}}, // the first click on "Barcode" sorts descending
        {0, {"1000", "20", "300"}}, // the second ascending again
        {3, {"1000", "20", "300"}}, // stock as text: "10" < "100" < "9"
        {3, {"300", "20", "1000"}},
        {1, {"1000", "300", "20"}}, // names without regard to case
    };
    for (const auto& c : clicks) {
        click(c.section);
        EXPECT_EQ(column(m, 0), c.barcodes) << c.section;
    }

    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("stock.csv")));
    FindControl<QPushButton>(sheet, "BitBtn1")->click();
    EXPECT_EQ(bytesOf(dataFile(QStringLiteral("stock.csv"))),
              QByteArray("Barcode;Product;Price;Stock;Datetime;Date;Time\r\n"
                         "1000;Apple;12.00;10;2024-05-02 09:00:00;2024-05-02;09:00:00\r\n"
                         "300;banana;1.50;9;2024-05-01 14:03:27;2024-05-01;14:03:27\r\n"
                         "20;cherry;0;100;legacy;;legacy\r\n"));
}

TEST_F(ReportWindowsTest, StockSheetHandsTheSelectedBarcodeToTheGenerator)
{
    start();
    addProduct(QStringLiteral("ABC-12"), QStringLiteral("Tea"), 1, 1, QStringLiteral("2024-05-01 14:03:27"));
    openReport<TStockSheetForm>("StockSheet1", [&](TStockSheetForm& w) {
        waitFor(FindControl<QTimer>(w, "Timer1"));
        FindControl<QPushButton>(w, "BitBtn2")->click();
        ASSERT_NE(dialogs.lastMessage(), nullptr);
        EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("No item selected!"));
        EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Warning);
        EXPECT_TRUE(w.findChildren<TGenerateBarcodeForm*>().isEmpty());

        FindControl<QTableView>(w, "ListView1")->selectRow(0);
        QAction* entry = FindControl<QAction>(*FindControl<QMenu>(w, "PopupMenu1"), "GenerateBarcodeImage1");
        EXPECT_EQ(entry->text(), QStringLiteral("Generate Barcode Image"));
        entry->trigger();
        const auto generators = w.findChildren<TGenerateBarcodeForm*>();
        ASSERT_EQ(generators.size(), 1);
        EXPECT_TRUE(generators.first()->isVisible());
        EXPECT_EQ(generators.first()->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), QStringLiteral("ABC-12"));
        EXPECT_FALSE(generators.first()->picture().isNull());
    });
    // The generator stays open after the sheet has closed.
    const auto generators = form->findChildren<TGenerateBarcodeForm*>();
    ASSERT_EQ(generators.size(), 1);
    EXPECT_TRUE(generators.first()->isVisible());
    generators.first()->close();
}

TEST_F(ReportWindowsTest, StockSheetRemembersItsSizeStateAndColumnWidths)
{
    start();
    const auto setting = [&](const char* key) { return form->context().settings().ReadString(QLatin1String(key),
                                                                                             QString()); };

    openReport<TStockSheetForm>("StockSheet1", [&](TStockSheetForm& w) {
        w.show();
        w.resize(700, 500);
        waitUntil([&] { return setting("StockSheetWidth") == QLatin1String("700"); });
        EXPECT_EQ(setting("StockSheetHeight"), QStringLiteral("500"));
        EXPECT_EQ(setting("StockSheetWindowState"), QStringLiteral("Normal"));

        w.showMaximized();
        waitUntil([&] { return setting("StockSheetWindowState") == QLatin1String("Maximized"); });
        EXPECT_EQ(setting("StockSheetWidth"), QStringLiteral("700"));
        w.showNormal();
        waitUntil([&] { return setting("StockSheetWindowState") == QLatin1String("Normal"); });
        waitUntil([&] { return w.size() == QSize(700, 500); });

        FindControl<QTableView>(w, "ListView1")->horizontalHeader()->resizeSection(1, 210);
        w.SaveColumnWidths(); // the column-width timer's tick
        w.showMaximized();
        waitUntil([&] { return setting("StockSheetWindowState") == QLatin1String("Maximized"); });
    });
    const QString text = QString::fromUtf8(bytesOf(dataFile(QStringLiteral("settings.ini"))));
    EXPECT_TRUE(text.contains(QStringLiteral("StockSheetColumn2=210\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("StockSheetColumn1=120\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("StockSheetWindowState=Maximized\r\n")));

    openReport<TStockSheetForm>("StockSheet1", [&](TStockSheetForm& w) {
        EXPECT_EQ(w.size(), QSize(700, 500));
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
        const QHeaderView* header = FindControl<QTableView>(w, "ListView1")->horizontalHeader();
        EXPECT_EQ(header->sectionSize(1), 210);
        EXPECT_EQ(header->sectionSize(4), 120);
    });
}

} // namespace

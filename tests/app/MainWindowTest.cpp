#include "app/WindowPlacement.h"
#include "catalogue/ui/CustomersScreen.h"
#include "catalogue/ui/ProductsScreen.h"
#include "pos/ui/SaleScreen.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>
#include <QTest>

namespace {

QPushButton* button(TAppForm& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

QString settingsText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

using MainWindowTest = AppFixture;

TEST_F(MainWindowTest, StartsOnTheSaleScreenWithTheDatabaseCreatedFromTheTemplate)
{
    TAppForm& form = start();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zelkora - Quenvale"));
    EXPECT_EQ(form.context().DataFolder, programFolder());
    EXPECT_TRUE(form.saleScreen()->isVisible());
    EXPECT_FALSE(form.productsScreen()->isVisible());
    EXPECT_FALSE(form.customersScreen()->isVisible());
    EXPECT_FALSE(form.salesHistoryScreen()->isVisible());
    EXPECT_FALSE(form.sellBar()->isVisible());
    const SaleScreen& sale = *form.saleScreen();
    EXPECT_FALSE(FindControl<QWidget>(sale, "Panel6")->isVisible());
    EXPECT_FALSE(FindControl<QPushButton>(sale, "BitBtn16")->isVisible());
    EXPECT_EQ(FindControl<QLabel>(sale, "Label7")->text(), QStringLiteral("$ 0.00"));
    EXPECT_TRUE(QFile::exists(dataFile(QStringLiteral("data.db"))));
    EXPECT_TRUE(form.context().SQLConnection1().isOpen());
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    // No administrator password: administrator mode, "Logout" offered.
    EXPECT_TRUE(form.context().isAdmin());
    EXPECT_TRUE(form.action(QStringLiteral("Logout1"))->isVisible());
    EXPECT_FALSE(form.action(QStringLiteral("Login1"))->isVisible());
}

TEST_F(MainWindowTest, SettingsFileWithTheColumnWidthsAppearsOnTheTimerTick)
{
    TAppForm& form = start();
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("settings.ini"))));
    form.SaveColumnWidths(); // what the one-second timer does
    const QString text = settingsText(dataFile(QStringLiteral("settings.ini")));
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(text.contains(QStringLiteral("MainColumn%1=124\r\n").arg(n))) << n;
    for (int n = 1; n <= 7; ++n)
        EXPECT_TRUE(text.contains(QStringLiteral("PaymentColumn%1=").arg(n))) << n;
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(text.contains(QStringLiteral("CreditColumn%1=").arg(n))) << n;
    EXPECT_TRUE(text.contains(QStringLiteral("PaymentColumn1=180\r\n")));
}

TEST_F(MainWindowTest, ColumnWidthsAreSavedAndRestored)
{
    writeSettings({QStringLiteral("PaymentColumn1=abc")});
    {
        TAppForm& form = start();
        // An unreadable stored width starts at 100 pixels.
        const auto* payments = FindControl<QTableView>(*form.salesHistoryScreen(), "ListView2");
        EXPECT_EQ(payments->horizontalHeader()->sectionSize(0), 100);
        FindControl<QTreeView>(*form.saleScreen(), "ListView1")->header()->resizeSection(1, 211);
        form.SaveColumnWidths();
        // Its value reads as 100, the width it has, so the tick leaves it as it is.
        EXPECT_TRUE(settingsText(dataFile(QStringLiteral("settings.ini"))).contains(QStringLiteral("PaymentColumn1=abc\r\n")));
    }
    form.reset();
    TAppForm& again = start();
    QHeaderView* header = FindControl<QTreeView>(*again.saleScreen(), "ListView1")->header();
    EXPECT_EQ(header->sectionSize(1), 211);
    EXPECT_EQ(header->sectionSize(0), 124);
}

TEST_F(MainWindowTest, NavigationWithAndWithoutAdministratorMode)
{
    writeSettings({QStringLiteral("SecretAdmin64=c2VjcmV0")});
    TAppForm& form = start();
    EXPECT_FALSE(form.context().isAdmin());
    EXPECT_TRUE(form.action(QStringLiteral("Login1"))->isVisible());

    for (const char* guarded : {"BitBtn3", "BitBtn4"}) {
        dialogs.clear();
        QTest::mouseClick(button(form, guarded), Qt::LeftButton);
        ASSERT_NE(dialogs.lastMessage(), nullptr) << guarded;
        EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("You are not logged as admin!"));
        EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Warning);
        EXPECT_TRUE(form.saleScreen()->isVisible()) << guarded;
    }

    QTest::mouseClick(button(form, "BitBtn17"), Qt::LeftButton);
    EXPECT_TRUE(form.salesHistoryScreen()->isVisible());
    EXPECT_FALSE(form.saleScreen()->isVisible());
    EXPECT_FALSE(form.sellBar()->isVisible());

    form.context().SetAdminMode(true);
    QTest::mouseClick(button(form, "BitBtn3"), Qt::LeftButton);
    EXPECT_TRUE(form.productsScreen()->isVisible());
    EXPECT_FALSE(form.salesHistoryScreen()->isVisible());
    QTest::mouseClick(button(form, "BitBtn4"), Qt::LeftButton);
    EXPECT_TRUE(form.customersScreen()->isVisible());
    EXPECT_FALSE(form.productsScreen()->isVisible());
    QTest::mouseClick(FindControl<QPushButton>(*form.customersScreen(), "BitBtn12"), Qt::LeftButton);
    EXPECT_TRUE(form.saleScreen()->isVisible());
    EXPECT_FALSE(form.customersScreen()->isVisible());
}

TEST_F(MainWindowTest, NavigationFontFollowsTheBarWidth)
{
    TAppForm& form = start();
    const struct { int width; int points; } cases[] = {{800, 16}, {801, 20}, {1099, 20}, {1100, 24}};
    for (const auto& c : cases) {
        form.navigationBar()->setFixedWidth(c.width); // the bar's client width is what counts
        QCoreApplication::processEvents();
        EXPECT_EQ(button(form, "BitBtn3")->font().pointSize(), c.points) << c.width;
        EXPECT_EQ(button(form, "BitBtn17")->width(), c.width / 3 - 5) << c.width;
    }
}

TEST_F(MainWindowTest, NonDatabaseDataFileIsReportedAndTheWindowStaysUsable)
{
    QFile file(dataFile(QStringLiteral("data.db")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a database\n");
    file.close();
    TAppForm& form = start();
    ASSERT_FALSE(dialogs.messageTexts().isEmpty());
    EXPECT_TRUE(dialogs.messageTexts().first().startsWith(QStringLiteral("Exception raised with message: ")));
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Zelkora - Quenvale"));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::None);
    QTest::mouseClick(button(form, "BitBtn17"), Qt::LeftButton);
    EXPECT_TRUE(form.salesHistoryScreen()->isVisible());
    // The file is left as it was.
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("this is not a database\n"));
}

TEST_F(MainWindowTest, CurrencySymbolCommand)
{
    writeSettings({QStringLiteral("CurrencySymbol=")});
    TAppForm& form = start();
    const auto* total = FindControl<QLabel>(*form.saleScreen(), "Label7");
    EXPECT_EQ(total->text(), QStringLiteral(" 0.00"));

    dialogs.inputAnswers.push_back(std::nullopt);
    form.action(QStringLiteral("CurrencySymbol1"))->trigger();
    EXPECT_EQ(form.context().receipts.CurrencySymbol, QString());
    ASSERT_EQ(dialogs.shown.back().kind, QStringLiteral("input"));
    EXPECT_EQ(dialogs.shown.back().input.okCaption, QStringLiteral("OK"));

    dialogs.inputAnswers.push_back(QStringLiteral("EUR"));
    form.action(QStringLiteral("CurrencySymbol1"))->trigger();
    EXPECT_EQ(total->text(), QStringLiteral("EUR 0.00"));
    EXPECT_TRUE(settingsText(dataFile(QStringLiteral("settings.ini"))).contains(QStringLiteral("CurrencySymbol=EUR\r\n")));
}

TEST_F(MainWindowTest, StoredReceiptValuesAndTemplateAreReadAtStart)
{
    writeSettings({QStringLiteral("ReceiptNumber=abc"), QStringLiteral("Print=1"),
                   QStringLiteral("ReceiptFolder=/tmp/receipts")});
    QFile templ(dataFile(QStringLiteral("PrintTemplate.txt")));
    ASSERT_TRUE(templ.open(QIODevice::WriteOnly));
    templ.write("\r\n"); // a file holding only an empty line stays in force
    templ.close();
    TAppForm& form = start();
    EXPECT_EQ(form.context().receiptNumbers().next(), 1);
    EXPECT_TRUE(form.action(QStringLiteral("AskPrint1"))->isChecked());
    EXPECT_EQ(form.context().receipts.ReceiptFolder, QStringLiteral("/tmp/receipts"));
    EXPECT_EQ(form.context().receipts.ReceiptTemplate, QStringList{QString()});
    EXPECT_EQ(form.context().receipts.DefaultReceiptTemplate,
              QStringLiteral("Welcome to Our Shop\r\n[DATETIME]\r\n\r\nReceipt Number: [RECEIPTNO]\r\n\r\n[LIST]\r\n\r\n"
                             "Total: [TOTAL]\r\n\r\nThank you"));
}

TEST_F(MainWindowTest, TheRefundTemplateIsReadBesideTheSaleTemplateOrIsTheDefault)
{
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile ? "RefundTemplate.txt" : "no file");
        if (withFile) {
            QFile templ(dataFile(QStringLiteral("RefundTemplate.txt")));
            ASSERT_TRUE(templ.open(QIODevice::WriteOnly));
            templ.write("Back [RECEIPTNO]\r\nof [ORIGINALRECEIPTNO]\r\n");
        }
        const ReceiptBook& book = start().context().receipts;
        EXPECT_EQ(book.DefaultRefundTemplate,
                  QStringLiteral("Welcome to Our Shop\r\nREFUND\r\n[DATETIME]\r\n\r\nReceipt Number: [RECEIPTNO]\r\n"
                                 "Original Receipt: [ORIGINALRECEIPTNO]\r\n\r\n[LIST]\r\n\r\nTotal: [TOTAL]\r\n\r\n"
                                 "Thank you"));
        EXPECT_EQ(book.RefundTemplate, (withFile ? QStringList{"Back [RECEIPTNO]", "of [ORIGINALRECEIPTNO]"}
                                                 : book.DefaultRefundTemplate.split(QStringLiteral("\r\n"))));
        EXPECT_EQ(book.ReceiptTemplate, book.DefaultReceiptTemplate.split(QStringLiteral("\r\n")));
        form.reset();
    }
}

TEST_F(MainWindowTest, ResetToDefaultsDeletesTheSettingsAndStartsAgain)
{
    writeSettings({QStringLiteral("SecretAdmin64=c2VjcmV0")});
    TAppForm& form = start();
    dialogs.messageAnswers.push_back(Dialogs::No);
    form.action(QStringLiteral("ResetToDefaults1"))->trigger();
    EXPECT_TRUE(QFile::exists(dataFile(QStringLiteral("settings.ini"))));
    EXPECT_EQ(env.quitRequests, 0);

    dialogs.messageAnswers.push_back(Dialogs::Yes);
    form.action(QStringLiteral("ResetToDefaults1"))->trigger();
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("settings.ini"))));
    EXPECT_FALSE(form.ColumnSaveEnabled);
    EXPECT_EQ(env.startedPrograms, QStringList{env.executablePath()});
    EXPECT_EQ(env.quitRequests, 1);
}

TEST_F(MainWindowTest, KeyboardShortcutsAndOnlineHelp)
{
    TAppForm& form = start();
    form.action(QStringLiteral("KeyboardShortcuts1"))->trigger();
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->text,
              QStringLiteral("\rDel: \tDelete last entered product\rESC: \tCancel product selection"
                             "\rCtrl Alt P: \tProduct List"));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Information);
    form.action(QStringLiteral("OnlineHelp1"))->trigger();
    ASSERT_EQ(env.openedUrls.size(), 1);
    EXPECT_TRUE(env.openedUrls.first().endsWith(QStringLiteral("/quenvale/")));
}

TEST(CentredPositionTest, CentresTheWindowAndKeepsALargerOneOnTheScreen)
{
    const struct
    {
        QSize window;
        QRect available;
        QPoint position;
    } cases[] = {
        {{841, 640}, {0, 0, 1920, 1080}, {539, 220}},
        {{841, 640}, {1920, 40, 1280, 984}, {2139, 212}}, // a second screen below a top panel
        {{841, 640}, {0, 0, 800, 600}, {0, 0}},
        {{400, 300}, {0, 0, 401, 301}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredPosition(c.window, c.available), c.position) << c.window.width() << "x" << c.window.height();
}

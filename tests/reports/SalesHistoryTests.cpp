#include "reports/SalesHistory.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"
#include "support/LoopbackPrinter.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

#include <memory>

// The sales history screen on a real data.db, on its own or, where the main window takes part, on the main
// window; the fixed clock says 2025-01-31 14:05:09.

namespace {

class SalesHistoryTest : public AppFixture
{
protected:
    void TearDown() override
    {
        m_screen.reset();
        AppFixture::TearDown();
    }

    // The screen on the context, set up as the main window sets it up at start.
    void startScreen()
    {
        m_screen = std::make_unique<SalesHistoryScreen>(startContext());
        m_screen->setCaptions();
        m_screen->fillFilterLists();
        m_screen->show();
    }

    SalesHistoryScreen& screen() { return m_screen ? *m_screen : *form->salesHistoryScreen(); }
    AppContext& appContext() { return m_screen ? *context : form->context(); }

    template <typename Control>
    Control* control(const char* name)
    {
        return FindControl<Control>(screen(), name);
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    QTableView* payments() { return control<QTableView>("ListView2"); }
    QTableView* credits() { return control<QTableView>("ListView3"); }
    QAction* menuAction(const char* menu, const char* action)
    {
        return FindControl<QAction>(*control<QMenu>(menu), action);
    }

    void exec(const QString& sql, const std::vector<QVariant>& params)
    {
        ASSERT_TRUE(appContext().SQLConnection1().ExecuteDirect(sql, params));
    }

    void addPayment(qint64 receipt, const QString& barcode, const QString& product, int quantity, double price,
                    const QString& paidAt)
    {
        exec(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) values (?,?,?,?,?,?)"),
             {receipt, barcode, product, quantity, price, paidAt});
    }

    void addCredit(const QString& customer, const QString& product, int quantity, double price, const QVariant& paid,
                   const QString& soldAt, const QVariant& settledAt = QVariant())
    {
        exec(QStringLiteral("insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat,odendimi,"
                            "kayittarihi,odemetarihi) values (1,?,?,?,?,?,?,?,?)"),
             {customer, QStringLiteral("B-") + product, product, quantity, price, paid, soldAt, settledAt});
    }

    // Opens the screen: with the main window's "SALES" button, or as that button opens it.
    void open()
    {
        if (form)
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("BitBtn17")), Qt::LeftButton);
        else
            screen().prepare();
    }

    static QStringList column(const QTableView* list, int column)
    {
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, column).data().toString();
        return texts;
    }

    static QStringList row(const QTableView* list, int row)
    {
        QStringList texts;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            texts << list->model()->index(row, column).data().toString();
        return texts;
    }

    void chooseProduct(const QString& name)
    {
        const int index = control<QComboBox>("ComboBox4")->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        control<QComboBox>("ComboBox4")->setCurrentIndex(index);
    }

    void chooseCustomer(const QString& name)
    {
        const int index = control<QComboBox>("ComboBox3")->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        control<QComboBox>("ComboBox3")->setCurrentIndex(index);
    }

    void setRange(const QDateTime& begin, const QDateTime& end)
    {
        control<QDateEdit>("DateTimePicker1")->setDate(begin.date());
        control<QTimeEdit>("DateTimePicker3")->setTime(begin.time());
        control<QDateEdit>("DateTimePicker2")->setDate(end.date());
        control<QTimeEdit>("DateTimePicker4")->setTime(end.time());
    }

    static QDateTime at(const char* text) { return QDateTime::fromString(QLatin1String(text), Qt::ISODate); }

    QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    std::unique_ptr<SalesHistoryScreen> m_screen;
};

TEST_F(SalesHistoryTest, OpeningListsTodaysPaymentsWithBothBoundsIncluded)
{
    start();
    addPayment(7, QStringLiteral("8690"), QStringLiteral("Milk"), 2, 2.5, QStringLiteral("2025-01-31 10:00:00"));
    addPayment(7, QStringLiteral("42"), QStringLiteral("Tea"), 3, 1.15, QStringLiteral("2025-01-31 00:00:00"));
    addPayment(8, QStringLiteral("5"), QStringLiteral("Late"), 1, 4, QStringLiteral("2025-02-01 00:00:00"));
    addPayment(9, QStringLiteral("6"), QStringLiteral("Tomorrow"), 1, 100, QStringLiteral("2025-02-01 00:00:01"));
    addPayment(6, QStringLiteral("4"), QStringLiteral("Yesterday"), 1, 100, QStringLiteral("2025-01-30 23:59:59"));
    EXPECT_FALSE(control<QWidget>("PanelTotal")->isVisibleTo(&screen()));

    open();
    EXPECT_EQ(control<QDateEdit>("DateTimePicker1")->date(), QDate(2025, 1, 31));
    EXPECT_EQ(control<QDateEdit>("DateTimePicker2")->date(), QDate(2025, 2, 1));
    EXPECT_EQ(control<QTimeEdit>("DateTimePicker3")->time(), QTime(0, 0));
    EXPECT_TRUE(payments()->isVisible());
    EXPECT_FALSE(credits()->isVisible());
    EXPECT_TRUE(control<QWidget>("PanelTotal")->isVisible());
    EXPECT_EQ(screen().shownList(), SalesHistoryScreen::ShownList::Payments);

    const QTableView* list = payments();
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(row(list, 0), (QStringList{QStringLiteral("2025-01-31 00:00:00"), QStringLiteral("42"),
                                         QStringLiteral("Tea"), QStringLiteral("1.15"), QStringLiteral("3"),
                                         QStringLiteral("3.45"), QStringLiteral("2"), QStringLiteral("7")}));
    EXPECT_EQ(column(list, PaymentsListModel::Product),
              (QStringList{QStringLiteral("Tea"), QStringLiteral("Milk"), QStringLiteral("Late")}));
    EXPECT_EQ(control<QLabel>("Label15")->text(), QStringLiteral("GRAND TOTAL:"));
    EXPECT_EQ(control<QLabel>("Label14")->text(), QStringLiteral("12.45"));
    EXPECT_EQ(list->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Receipt"));

    // An end bound before the begin bound lists nothing.
    setRange(at("2025-01-31T12:00:00"), at("2025-01-31T11:00:00"));
    button("BitBtn18")->click();
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(control<QLabel>("Label14")->text(), QStringLiteral("0.00"));
}

TEST_F(SalesHistoryTest, FilterListsAreFilledOnceInARunAndNarrowTheLists)
{
    start();
    open(); // the first showing fills the lists
    exec(QStringLiteral("insert into urunler (barkod, urunadi) values ('1', 'Tea'), ('2', 'Milk'), ('3', 'O''Neil Jam')"), {});
    exec(QStringLiteral("insert into musteriler (musteriadi) values ('Zeki'), ('Ayla')"), {});
    // Added after that: not offered until the lists are filled again in the next run.
    open();
    EXPECT_EQ(control<QComboBox>("ComboBox4")->count(), 1);
    EXPECT_EQ(control<QComboBox>("ComboBox4")->currentText(), QStringLiteral("All Products"));
    EXPECT_EQ(control<QComboBox>("ComboBox3")->currentText(), QStringLiteral("All Customers"));
    screen().fillFilterLists();
    EXPECT_EQ(control<QComboBox>("ComboBox4")->count(), 4);
    EXPECT_EQ(control<QComboBox>("ComboBox4")->itemText(1), QStringLiteral("Milk"));
    EXPECT_EQ(control<QComboBox>("ComboBox4")->itemText(2), QStringLiteral("O'Neil Jam"));
    EXPECT_EQ(control<QComboBox>("ComboBox3")->itemText(1), QStringLiteral("Ayla"));
    EXPECT_EQ(control<QComboBox>("ComboBox3")->currentIndex(), 0);

    const QString day = QStringLiteral("2025-01-31 09:00:00");
    addPayment(1, QStringLiteral("1"), QStringLiteral("Tea"), 1, 2, day);
    addPayment(1, QStringLiteral("2"), QStringLiteral("Milk"), 1, 3, day);
    addPayment(1, QStringLiteral("3"), QStringLiteral("O'Neil Jam"), 1, 5, day);
    addPayment(1, QStringLiteral("1"), QStringLiteral("Tea "), 1, 7, day); // not exactly the chosen name
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Tea"), 1, 1, 0, day);
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Milk"), 1, 2, 0, day);
    addCredit(QStringLiteral("Zeki"), QStringLiteral("Tea"), 1, 4, 0, day);
    open();
    EXPECT_EQ(payments()->model()->rowCount(), 4);

    chooseProduct(QStringLiteral("Tea"));
    chooseCustomer(QStringLiteral("Ayla"));
    button("BitBtn18")->click(); // the customer plays no part in payments
    EXPECT_EQ(column(payments(), PaymentsListModel::Total), QStringList{QStringLiteral("2.00")});
    button("BitBtn19")->click();
    EXPECT_EQ(column(credits(), CreditsListModel::Total), QStringList{QStringLiteral("1.00")});
    EXPECT_EQ(screen().shownList(), SalesHistoryScreen::ShownList::Credits);
    EXPECT_TRUE(credits()->isVisible());
    EXPECT_FALSE(payments()->isVisible());

    // A name with a single quote finds its lines.
    chooseProduct(QStringLiteral("O'Neil Jam"));
    button("BitBtn18")->click();
    EXPECT_EQ(column(payments(), PaymentsListModel::Total), QStringList{QStringLiteral("5.00")});
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(SalesHistoryTest, CreditLinesShowTheirStateAndTheTwoTotals)
{
    startScreen();
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Tea"), 2, 3.5, 1, QStringLiteral("2025-01-31 09:00:00"),
              QStringLiteral("2025-02-03 10:11:12"));
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Milk"), 1, 3.5, 0, QStringLiteral("2025-01-31 09:30:00"));
    addCredit(QStringLiteral("Zeki"), QStringLiteral("Jam"), 1, 5, 1, QStringLiteral("2025-01-31 10:00:00"));
    // Settled later, sold before the range: the range applies to the sale date.
    addCredit(QStringLiteral("Zeki"), QStringLiteral("Old"), 1, 50, 1, QStringLiteral("2025-01-20 10:00:00"),
              QStringLiteral("2025-01-31 11:00:00"));
    open();
    button("BitBtn19")->click();
    const QTableView* list = credits();
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(column(list, CreditsListModel::Paid),
              (QStringList{QStringLiteral("2025-02-03 10:11:12"), QStringLiteral("-"), QStringLiteral("PAID")}));
    EXPECT_EQ(row(list, 0), (QStringList{QStringLiteral("2025-01-31 09:00:00"), QStringLiteral("Ayla"),
                                         QStringLiteral("B-Tea"), QStringLiteral("Tea"), QStringLiteral("3.50"),
                                         QStringLiteral("2"), QStringLiteral("7.00"),
                                         QStringLiteral("2025-02-03 10:11:12"), QStringLiteral("1")}));
    EXPECT_EQ(control<QLabel>("Label14")->text(), QStringLiteral("Paid: 12.00 Not Paid: 3.50"));
}

TEST_F(SalesHistoryTest, AFailingQueryIsReportedAndLeavesEmptyListsWithZeroTotals)
{
    startScreen();
    exec(QStringLiteral("drop table veresiyeler"), {});
    open();
    button("BitBtn19")->click();
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts().first().startsWith(QStringLiteral("Exception raised with message: ")));
    EXPECT_EQ(credits()->model()->rowCount(), 0);
    EXPECT_EQ(control<QLabel>("Label14")->text(), QStringLiteral("Paid: 0.00 Not Paid: 0.00"));
}

TEST_F(SalesHistoryTest, DeletingALineNeedsAdministratorModeAndASelection)
{
    writeSettings({QStringLiteral("SecretAdmin64=c2VjcmV0")});
    startScreen();
    addPayment(1, QStringLiteral("1"), QStringLiteral("Tea"), 1, 2, QStringLiteral("2025-01-31 09:00:00"));
    open();
    payments()->selectRow(0);
    menuAction("PopupMenu1", "Delete2")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("You are not logged as admin!"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("WARNING"));
    EXPECT_EQ(payments()->model()->rowCount(), 1);

    context->SetAdminMode(true);
    dialogs.clear();
    payments()->clearSelection();
    menuAction("PopupMenu1", "Delete2")->trigger();
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SalesHistoryTest, DeletingAPaymentOrCreditAsksAndReloadsWhateverTheAnswer)
{
    startScreen();
    context->SetAdminMode(true); // as the main window starts without an administrator password
    const QString day = QStringLiteral("2025-01-31 09:00:00");
    addPayment(1, QStringLiteral("1"), QStringLiteral("Tea"), 1, 2, day);
    addPayment(1, QStringLiteral("2"), QStringLiteral("Milk"), 1, 3, day);
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Jam"), 1, 4, 0, day);
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Honey"), 1, 6, 1, day);
    open();

    const struct
    {
        QPushButton* load;
        QTableView* list;
        QMenu* menu;
        const char* action;
        const char* question;
        const char* table;
    } lists[] = {
        {button("BitBtn18"), payments(), control<QMenu>("PopupMenu1"), "Delete2",
         "Are you sure you want to delete the payment?", "odemeler"},
        {button("BitBtn19"), credits(), control<QMenu>("PopupMenu2"), "Delete3",
         "Are you sure you want to delete the credit?", "veresiyeler"},
    };
    for (const auto& l : lists) {
        l.load->click();
        ASSERT_EQ(l.list->model()->rowCount(), 2) << l.action;
        // A line stored meanwhile shows after the reload that follows the answer No.
        if (l.list == payments())
            addPayment(2, QStringLiteral("3"), QStringLiteral("Salt"), 1, 1, day);
        else
            addCredit(QStringLiteral("Ayla"), QStringLiteral("Salt"), 1, 1, 0, day);

        dialogs.clear();
        l.list->selectRow(1);
        dialogs.messageAnswers.push_back(Dialogs::No);
        l.menu->findChild<QAction*>(QLatin1String(l.action))->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, QLatin1String(l.question));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Confirm"));
        EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Question);
        EXPECT_EQ(dialogs.shown[0].buttons, Dialogs::Yes | Dialogs::No);
        EXPECT_EQ(l.list->model()->rowCount(), 3) << l.action;

        const QString deletedId = l.list->model()->index(1, l.list == payments() ? 6 : 8).data().toString();
        l.list->selectRow(1);
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        l.menu->findChild<QAction*>(QLatin1String(l.action))->trigger();
        EXPECT_EQ(l.list->model()->rowCount(), 2) << l.action;
        const QueryResult left = context->SQLConnection1().Query(
            QStringLiteral("select count(*) from ") + QLatin1String(l.table) + QStringLiteral(" where id = ?"),
            {deletedId.toLongLong()});
        EXPECT_EQ(left.rows[0][0].asInteger(), 0) << l.action;
    }
}

TEST_F(SalesHistoryTest, ExportWritesTheShownListAsShown)
{
    startScreen();
    addPayment(12, QStringLiteral("8690"), QStringLiteral("Milk; 1 L"), 2, 2.5, QStringLiteral("2025-01-31 09:00:00"));
    addPayment(12, QStringLiteral("42"), QStringLiteral("Tea \"Earl\""), 1, 3, QStringLiteral("2025-01-31 09:00:00"));
    addCredit(QStringLiteral("Ayla"), QStringLiteral("Jam"), 1, 4, 1, QStringLiteral("2025-01-31 10:00:00"));
    open();

    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("payments.csv")));
    button("BitBtn21")->click();
    EXPECT_EQ(bytesOf(dataFile(QStringLiteral("payments.csv"))),
              QByteArray("Date;Barcode;Product;Price;Quantity;Total;ID;Receipt\r\n"
                         "2025-01-31 09:00:00;8690;\"Milk; 1 L\";2.50;2;5.00;1;12\r\n"
                         "2025-01-31 09:00:00;42;\"Tea \"\"Earl\"\"\";3.00;1;3.00;2;12\r\n"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.shown[0].file.filter, QStringLiteral("CSV File (*.csv)|*.csv"));
    EXPECT_TRUE(dialogs.shown[0].file.confirmOverwrite);

    button("BitBtn19")->click();
    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("credits.csv")));
    button("BitBtn21")->click();
    EXPECT_EQ(bytesOf(dataFile(QStringLiteral("credits.csv"))),
              QByteArray("Date;Customer;Barcode;Product;Price;Quantity;Total;Paid;ID\r\n"
                         "2025-01-31 10:00:00;Ayla;B-Jam;Jam;4.00;1;4.00;PAID;1\r\n"));

    // An empty list writes the header only; a cancelled dialog writes nothing.
    chooseCustomer(QStringLiteral("All Customers"));
    setRange(at("2020-01-01T00:00:00"), at("2020-01-02T00:00:00"));
    button("BitBtn18")->click();
    dialogs.fileAnswers.push_back(dataFile(QStringLiteral("empty.csv")));
    button("BitBtn21")->click();
    EXPECT_EQ(bytesOf(dataFile(QStringLiteral("empty.csv"))),
              QByteArray("Date;Barcode;Product;Price;Quantity;Total;ID;Receipt\r\n"));
    const QStringList before = QDir(programFolder()).entryList(QDir::Files);
    button("BitBtn21")->click();
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), before);
}

TEST_F(SalesHistoryTest, ReprintsPrintTheSelectedLineAndLeaveTheReceiptNumber)
{
    startScreen();
    const qint64 nextReceipt = context->receiptNumbers().next();
    addPayment(12, QStringLiteral("8690"), QStringLiteral("COFFEE"), 2, 2.5, QStringLiteral("2025-01-31 09:00:00"));
    addCredit(QStringLiteral("Ayla"), QStringLiteral("MILK"), 1, 1.2, 0, QStringLiteral("2025-01-31 10:00:00"));
    open();

    QAction* print1 = menuAction("PopupMenu1", "Print1");
    QAction* print2 = menuAction("PopupMenu2", "Print2");
    print1->trigger();
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialogs.shown.empty());

    payments()->selectRow(0);
    dialogs.printAnswers.push_back(dataFile(QStringLiteral("payment.pdf")));
    print1->trigger();
    EXPECT_GT(QFileInfo(dataFile(QStringLiteral("payment.pdf"))).size(), 0);

    button("BitBtn19")->click();
    credits()->selectRow(0);
    dialogs.printAnswers.push_back(dataFile(QStringLiteral("credit.pdf")));
    print2->trigger();
    EXPECT_GT(QFileInfo(dataFile(QStringLiteral("credit.pdf"))).size(), 0);

    dialogs.printAnswers.push_back(QString()); // cancelled
    print2->trigger();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    for (const auto& shown : dialogs.shown)
        EXPECT_EQ(shown.kind, QStringLiteral("print"));
    EXPECT_EQ(context->receiptNumbers().next(), nextReceipt);
}

TEST_F(SalesHistoryTest, AFailingPrinterIsReportedUntranslatedForPaymentsAndTranslatedForCredits)
{
    writeSettings({QStringLiteral("LanguageFile=Turkish.lang.txt")});
    startScreen();
    addPayment(12, QStringLiteral("8690"), QStringLiteral("COFFEE"), 2, 2.5, QStringLiteral("2025-01-31 09:00:00"));
    addCredit(QStringLiteral("Ayla"), QStringLiteral("MILK"), 1, 1.2, 0, QStringLiteral("2025-01-31 10:00:00"));
    open();
    const QString unreachable = dataFile(QStringLiteral("no such folder/receipt.pdf"));

    payments()->selectRow(0);
    dialogs.printAnswers.push_back(unreachable);
    menuAction("PopupMenu1", "Print1")->trigger();
    button("BitBtn19")->click();
    credits()->selectRow(0);
    dialogs.printAnswers.push_back(unreachable);
    menuAction("PopupMenu2", "Print2")->trigger();

    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Printer not found!"), QStringLiteral("Yaz\u0131c\u0131 bulunamad\u0131!")}));
    EXPECT_EQ(dialogs.lastMessage()->caption, context->AppTitle);
}

TEST_F(SalesHistoryTest, ReprintsGoToTheEscPosReceiptPrinterWithoutTheDialog)
{
    LoopbackPrinter printer;
    writeSettings({QStringLiteral("ReceiptPrinter=escpos-tcp"),
                   QStringLiteral("ReceiptPrinterAddress=") + printer.address(), QStringLiteral("ReceiptPrinterCut=0"),
                   QStringLiteral("CashDrawer=1")});
    startScreen();
    addPayment(12, QStringLiteral("8690"), QStringLiteral("COFFEE"), 2, 2.5, QStringLiteral("2025-01-31 09:00:00"));
    open();
    payments()->selectRow(0);
    menuAction("PopupMenu1", "Print1")->trigger();

    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(printer.received().size(), 1);
    const QByteArray sent = printer.received().at(0);
    EXPECT_TRUE(sent.contains("\nReceipt Number: 12\n\nCOFFEE (2.50) * 2\n\nTotal: $ 5.00\n")) << sent.toStdString();
    EXPECT_TRUE(sent.endsWith("Thank you\n\n\n\n\n")); // no cut, and a reprint never opens the drawer
}

} // namespace

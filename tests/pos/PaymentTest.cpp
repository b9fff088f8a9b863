#include "EngineSaleFixture.h"
#include "pos/ui/PaymentTypesWindow.h"
#include "pos/ui/PaymentWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// The sell bar's card and split payments and the shop's payment types, through the main window.

namespace {

// The window's figures: total, remaining and change, as shown.
QString Figures(QDialog& window)
{
    return FindControl<QLabel>(window, "LabelTotalValue")->text() + QStringLiteral(" / ")
           + FindControl<QLabel>(window, "LabelRemainingValue")->text() + QStringLiteral(" / ")
           + FindControl<QLabel>(window, "LabelChangeValue")->text();
}

// The amount boxes the window offers, by their names.
QStringList AmountBoxes(QDialog& window)
{
    QStringList names;
    for (const QLineEdit* box : window.findChildren<QLineEdit*>())
        names << box->objectName();
    return names;
}

class PaymentTest : public EngineSaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }

    // Receipt number 12, receipts saved with a template that tells how the sale was paid; COFFEE x2 and MILK in
    // the sale (6.20).
    void startShop()
    {
        QDir().mkpath(receiptFolder());
        QFile file(dataFile(QStringLiteral("PrintTemplate.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("No [RECEIPTNO]\r\n[LIST]\r\nTotal: [TOTAL]\r\n[TENDERS]\r\n[SALEID]\r\n");
        file.close();
        writeSettings({QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()});
        start();
        addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
        addProduct(QStringLiteral("M1"), QStringLiteral("MILK"), 1.2, 0);
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("M1"));
    }
    // Presses "SPLIT PAYMENT" and lets the script drive the Payment window.
    void splitPayment(const std::function<void(QDialog&)>& script)
    {
        dialogs.modalScripts.push_back([script](QDialog& window) {
            window.show();
            script(window);
            return window.result();
        });
        form->splitPaymentButton()->click();
    }
};

TEST_P(PaymentTest, ASplitSaleOfCashAndCardWithChangeIsStoredOnceWithItsTendersAndPrintedOnItsReceipt)
{
    startShop();
    splitPayment([](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Payment"));
        EXPECT_EQ(AmountBoxes(window), (QStringList{"EditAmountCash", "EditAmountCard"})) << "no Account box";
        auto* complete = FindControl<QPushButton>(window, "ButtonComplete");
        EXPECT_EQ(Figures(window), QStringLiteral("$ 6.20 / $ 6.20 / $ 0.00"));
        EXPECT_FALSE(complete->isEnabled());
        // Only cash may go beyond what remains.
        QTest::keyClicks(FindControl<QLineEdit>(window, "EditAmountCard"), QStringLiteral("7"));
        EXPECT_EQ(Figures(window), QStringLiteral("$ 6.20 / $ -0.80 / $ 0.00"));
        EXPECT_FALSE(complete->isEnabled());
        QTest::keyClick(FindControl<QLineEdit>(window, "EditAmountCard"), Qt::Key_Backspace);
        QTest::keyClicks(FindControl<QLineEdit>(window, "EditAmountCard"), QStringLiteral("3"));
        EXPECT_EQ(Figures(window), QStringLiteral("$ 6.20 / $ 3.20 / $ 0.00"));
        QTest::keyClicks(FindControl<QLineEdit>(window, "EditAmountCash"), QStringLiteral("5"));
        EXPECT_EQ(Figures(window), QStringLiteral("$ 6.20 / $ 0.00 / $ 1.80"));
        EXPECT_TRUE(complete->isEnabled());
        QTest::keyClick(FindControl<QLineEdit>(window, "EditAmountCash"), Qt::Key_Return);
        EXPECT_FALSE(window.isVisible());
    });

    EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(u'|').toStdString();
    EXPECT_EQ(query(QStringLiteral("SELECT kind, receipt_no, subtotal_cents, discount_cents, total_cents FROM sale_records")),
              QStringList{"sale|12|620|0|620"});
    const QString saleId = query(QStringLiteral("SELECT sale_id FROM sale_records")).value(0);
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM odemeler WHERE fisno = 12 AND sale_id = '") + saleId
                    + QStringLiteral("'")),
              QStringList{"2"});
    EXPECT_EQ(query(QStringLiteral("SELECT position, tender_type, amount_cents, handed_cents, change_cents FROM tenders "
                                   "ORDER BY position")),
              (QStringList{"1|Cash|320|500|180", "2|Card|300||"}));
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 3);
    EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")),
              "\xEF\xBB\xBFNo 12\r\nCOFFEE (2.50) * 2\r\nMILK (1.20) * 1\r\nTotal: $ 6.20\r\n"
              "Cash: $ 5.00\r\nCard: $ 3.00\r\nChange: $ 1.80\r\n"
                  + saleId.toUtf8() + "\r\n");
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_P(PaymentTest, EscapeClosesThePaymentWindowAndTheSaleStaysOnTheScreen)
{
    startShop();
    splitPayment([](QDialog& window) {
        QTest::keyClicks(FindControl<QLineEdit>(window, "EditAmountCash"), QStringLiteral("10"));
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected);
    });
    EXPECT_TRUE(query(QStringLiteral("SELECT id FROM sale_records UNION ALL SELECT id FROM odemeler")).isEmpty());
    EXPECT_EQ(listRows().size(), 2);
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
}

TEST_P(PaymentTest, SellByCardAsksAndStoresOneCardTenderForTheTotal)
{
    startShop();
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    form->sellByCardButton()->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Sell by Card"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Confirm?"));
    EXPECT_EQ(query(QStringLiteral("SELECT r.receipt_no, r.total_cents, t.tender_type, t.amount_cents, t.handed_cents "
                                   "FROM sale_records r JOIN tenders t ON t.sale_id = r.sale_id")),
              QStringList{"12|620|Card|620|"});
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_P(PaymentTest, TheAmountTenderedTypedForASaleIsKeptAsHandedOverForThatSaleOnly)
{
    start();
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    scan(QStringLiteral("C1"));
    QTest::keyClicks(control<QLineEdit>("Edit7"), QStringLiteral("10"));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    form->sellByCashButton()->click();
    // The box keeps its text for the next sale, which is not taken as handed over for it.
    EXPECT_EQ(control<QLineEdit>("Edit7")->text(), QStringLiteral("10"));
    scan(QStringLiteral("C1"));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    form->sellByCashButton()->click();
    EXPECT_EQ(query(QStringLiteral("SELECT t.amount_cents, t.handed_cents, t.change_cents FROM sale_records r "
                                   "JOIN tenders t ON t.sale_id = r.sale_id ORDER BY r.id")),
              (QStringList{"250|1000|750", "250||"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, PaymentTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

// The sell bar and the payment types: on data.db.
class SellBarTest : public SaleFixture
{
};

TEST_F(SellBarTest, FourSellButtonsEachWithItsFKeyAndTheCardOnlyWhileTheShopTakesCards)
{
    start();
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    const std::vector<QPushButton*> buttons{form->sellByCashButton(), form->sellByCardButton(),
                                            form->splitPaymentButton(), form->sellByCreditButton()};
    for (QPushButton* button : buttons)
        EXPECT_FALSE(button->isEnabled());
    scan(QStringLiteral("C1"));
    QStringList shown;
    for (QPushButton* button : buttons) {
        EXPECT_TRUE(button->isEnabled());
        shown << button->objectName() + QLatin1Char('=') + button->text() + QStringLiteral(" / ") + button->toolTip();
    }
    EXPECT_EQ(shown.join(u'\n').toStdString(), "BitBtn1=SELL BY CASH / Sell by Cash (F5)\n"
                                               "ButtonSellByCard=SELL BY CARD / Sell by Card (F6)\n"
                                               "ButtonSplitPayment=SPLIT PAYMENT / Split Payment (F7)\n"
                                               "BitBtn2=SELL BY CREDIT / Sell by Credit (F8)");

    // F6 asks to sell by card; F7 opens the Payment window. The keys reach the window as a keyboard's do.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // (A button's key presses it visibly: the click comes a moment later.)
    dialogs.messageAnswers.push_back(Dialogs::No);
    QTest::keyClick(form->windowHandle(), Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown.empty(); }));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Confirm?"});
    EXPECT_EQ(dialogs.shown.at(0).caption, QStringLiteral("Sell by Card"));
    QTest::keyClick(form->windowHandle(), Qt::Key_F7);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.modalWindows.isEmpty(); }));
    EXPECT_EQ(dialogs.modalWindows, QStringList{"PaymentWindow"});

    // The administrator adds a Voucher type (Cash again, in any case, only beeps), adds and removes a Mobile one,
    // and switches cards off.
    form->context().SetAdminMode(true);
    dialogs.modalScripts.push_back([this](QDialog& window) {
        window.show();
        auto* list = FindControl<QListWidget>(window, "ListTypes");
        auto* name = FindControl<QLineEdit>(window, "EditName");
        auto* remove = FindControl<QPushButton>(window, "ButtonRemove");
        for (const char* typed : {"Voucher", "cash", "Mobile"}) {
            name->setText(QString::fromLatin1(typed));
            QTest::mouseClick(FindControl<QPushButton>(window, "ButtonAdd"), Qt::LeftButton);
        }
        EXPECT_EQ(dialogs.beeps, 1);
        QStringList types;
        for (int i = 0; i < list->count(); ++i)
            types << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? "+" : "-");
        EXPECT_EQ(types, (QStringList{"Cash+", "Card+", "Voucher+", "Mobile+"}));
        EXPECT_TRUE(remove->isEnabled()) << "Mobile, just added, was never used";
        QTest::mouseClick(remove, Qt::LeftButton);
        list->setCurrentRow(0);
        EXPECT_FALSE(remove->isEnabled()) << "a built-in type stays";
        EXPECT_FALSE(list->item(0)->flags() & Qt::ItemIsUserCheckable) << "Cash is always taken";
        list->item(1)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(list->count(), 3);
        QTest::mouseClick(FindControl<QPushButton>(window, "ButtonClose"), Qt::LeftButton);
        return window.result();
    });
    form->action(QStringLiteral("PaymentTypes1"))->trigger();
    EXPECT_EQ(form->action(QStringLiteral("PaymentTypes1"))->text(), QStringLiteral("Payment Types..."));
    EXPECT_EQ(query(QStringLiteral("SELECT code, enabled, built_in FROM tender_types ORDER BY position")),
              (QStringList{"Cash|1|1", "Card|0|1", "Account|1|1", "Voucher|1|0"}));

    EXPECT_FALSE(form->sellByCardButton()->isEnabled());
    EXPECT_TRUE(form->splitPaymentButton()->isEnabled());
    dialogs.modalScripts.push_back([](QDialog& window) {
        EXPECT_EQ(AmountBoxes(window), (QStringList{"EditAmountCash", "EditAmountVoucher"}));
        return int(QDialog::Rejected);
    });
    QTest::keyClick(form->windowHandle(), Qt::Key_F7);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialogs.modalWindows.size() == 3; }));
}

} // namespace

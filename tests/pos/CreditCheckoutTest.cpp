#include "EngineSaleFixture.h"
#include "pos/ui/TVeresiyeForm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Credit checkouts on data.db and on a server database alike.
class CreditCheckoutTest : public EngineSaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }

    // Receipt number 12 with receipts saved; the template shows the sale's date and time; two customers named
    // Ann and one with a quote in the name; TEA in stock, in the sale list twice.
    void startShop(const QStringList& moreSettings = {})
    {
        QDir().mkpath(receiptFolder());
        QFile file(dataFile(QStringLiteral("PrintTemplate.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("No [RECEIPTNO] on [DATE] at [TIME]\r\n[LIST]\r\n[TOTAL]\r\n");
        file.close();
        writeSettings(QStringList{QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()}
                      + moreSettings);
        start();
        ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(
            QStringLiteral("insert into musteriler (id, musteriadi) values (7, 'Ann'), (3, 'Ann'), (5, 'Bo''s Bar')")));
        addProduct(QStringLiteral("T'1"), QStringLiteral("Earl's Tea"), 20, 5);
        scan(QStringLiteral("T'1"));
        scan(QStringLiteral("T'1"));
    }
    // Presses "SELL BY CREDIT" and lets the script drive the window; the window's result.
    int sellByCredit(const std::function<void(TVeresiyeForm&)>& script)
    {
        int result = -1;
        dialogs.modalScripts.push_back([&](QDialog& dialog) {
            auto& window = static_cast<TVeresiyeForm&>(dialog);
            window.show();
            script(window);
            result = window.isVisible() ? -1 : window.result();
            return window.result();
        });
        form->sellByCreditButton()->click();
        return result;
    }
    static void choose(TVeresiyeForm& window, int index)
    {
        FindControl<QComboBox>(window, "ComboBox1")->setCurrentIndex(index);
        QTest::mouseClick(FindControl<QPushButton>(window, "BitBtn1"), Qt::LeftButton);
    }
    QStringList credits()
    {
        return query(QStringLiteral("SELECT musteriid,musteriadi,barkod,urunadi,adet,fiyat,odendimi FROM veresiyeler "
                                    "ORDER BY id"));
    }
};

} // namespace

TEST_P(CreditCheckoutTest, TheWindowListsTheCustomersAndOkDoesNothingUntilOneIsChosen)
{
    startShop();
    const int result = sellByCredit([](TVeresiyeForm& window) {
        const auto* customers = FindControl<QComboBox>(window, "ComboBox1");
        auto* ok = FindControl<QPushButton>(window, "BitBtn1");
        auto* cancel = FindControl<QPushButton>(window, "BitBtn2");
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Sell by Credit"));
        EXPECT_EQ(FindControl<QLabel>(window, "Label1")->text(), QStringLiteral("Which Customer?"));
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
        ASSERT_EQ(customers->count(), 3);
        EXPECT_EQ(customers->itemText(0), QStringLiteral("Ann"));
        EXPECT_EQ(customers->itemText(2), QStringLiteral("Bo's Bar"));
        EXPECT_EQ(window.CustomerIds.size(), 3);
        EXPECT_EQ(customers->currentText(), QString());
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(window.isVisible());
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialogs.modalWindows, QStringList{QStringLiteral("VeresiyeForm")});
    EXPECT_TRUE(credits().isEmpty());
    EXPECT_EQ(listRows().size(), 1);
}

TEST_P(CreditCheckoutTest, ADiscountedCreditSaleStoresTheLinesOfTheChosenCustomerWithoutAReceipt)
{
    startShop();
    answerDiscount(QStringLiteral("10"));
    // The second "Ann": the id at her position is stored.
    QString secondAnnId;
    const int result = sellByCredit([&](TVeresiyeForm& window) {
        secondAnnId = window.CustomerIds.at(1);
        choose(window, 1);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(credits(), QStringList{secondAnnId + QStringLiteral("|Ann|T'1|Earl's Tea|2|18|0")});
    EXPECT_EQ(stockOf(QStringLiteral("T'1")), 3);

    // "Ask Print" is off: no question, no receipt, no number used.
    EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(u'|').toStdString();
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
    EXPECT_TRUE(QDir(receiptFolder()).isEmpty());

    EXPECT_TRUE(listRows().isEmpty());
    EXPECT_EQ(screen().sale().discountRate(), 0);
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("0%"));
    EXPECT_FALSE(form->sellByCreditButton()->isEnabled());
}

TEST_P(CreditCheckoutTest, APrintedCreditReceiptIsSavedAndNumbered)
{
    startShop({QStringLiteral("Print=1")});
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    dialogs.printAnswers.push_back(programFolder() + QStringLiteral("receipt.pdf"));
    sellByCredit([](TVeresiyeForm& window) { choose(window, 2); });

    ASSERT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Print?")});
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Sell by Credit"));
    EXPECT_TRUE(QFile::exists(programFolder() + QStringLiteral("receipt.pdf")));
    EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")),
              QByteArray("\xEF\xBB\xBFNo 12 on 31.01.2025 at 14:05:09\r\nEarl's Tea (20.00) * 2\r\n$ 40.00\r\n"));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(QString::fromUtf8(fileBytes(dataFile(QStringLiteral("settings.ini"))))
                    .contains(QStringLiteral("ReceiptNumber=13\r\n")));
    EXPECT_EQ(credits(), QStringList{QStringLiteral("5|Bo's Bar|T'1|Earl's Tea|2|20|0")});
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_P(CreditCheckoutTest, NoPrintMeansNoReceiptAndAFailedPrintStillCompletesTheSaleWithItsReceipt)
{
    // "Print?" answered No, or the print dialog cancelled: the sale completes without a receipt.
    for (const bool cancelDialog : {false, true}) {
        SCOPED_TRACE(cancelDialog);
        form.reset();
        dialogs.clear();
        renewDatabase();
        startShop({QStringLiteral("Print=1")});
        dialogs.messageAnswers.push_back(cancelDialog ? Dialogs::Yes : Dialogs::No);
        if (cancelDialog)
            dialogs.printAnswers.push_back(QString());
        EXPECT_EQ(sellByCredit([](TVeresiyeForm& window) { choose(window, 0); }), QDialog::Accepted);
        EXPECT_EQ(credits().size(), 1);
        EXPECT_EQ(form->context().receiptNumbers().next(), 12);
        EXPECT_TRUE(QDir(receiptFolder()).isEmpty());
        EXPECT_TRUE(listRows().isEmpty());
    }

    // A receipt asked for whose printing fails is numbered and saved as a printed one: the stored sale leaves the
    // screen and the window, and the receipt can be printed again.
    form.reset();
    dialogs.clear();
    renewDatabase();
    startShop({QStringLiteral("Print=1")});
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    dialogs.printAnswers.push_back(programFolder() + QStringLiteral("no such folder/receipt.pdf"));
    EXPECT_EQ(sellByCredit([](TVeresiyeForm& window) { choose(window, 0); }), QDialog::Accepted);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Print?", "Printer not found!"}));
    EXPECT_EQ(credits().size(), 1);
    EXPECT_EQ(stockOf(QStringLiteral("T'1")), 3);
    EXPECT_TRUE(listRows().isEmpty());
    EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")),
              QByteArray("\xEF\xBB\xBFNo 12 on 31.01.2025 at 14:05:09\r\nEarl's Tea (20.00) * 2\r\n$ 40.00\r\n"));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
}

INSTANTIATE_TEST_SUITE_P(Engines, CreditCheckoutTest, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         EngineName);

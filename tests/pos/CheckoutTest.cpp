#include "EngineSaleFixture.h"
#include "support/CommitFailure.h"
#include "support/LoopbackPrinter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

namespace {

// Cash checkouts that reach the database run on data.db and on a server database alike.
class CheckoutTest : public EngineSaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }

    // Receipt number 12, receipts saved, COFFEE and MILK in stock.
    void startShop(const QStringList& moreSettings = {})
    {
        QDir().mkpath(receiptFolder());
        writeSettings(QStringList{QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()}
                      + moreSettings);
        start();
        addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
        addProduct(QStringLiteral("M1"), QStringLiteral("MILK"), 1.2, 0);
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("M1"));
    }

    void sellByCash() { form->sellByCashButton()->click(); }
    QString settingsText() { return QString::fromUtf8(fileBytes(dataFile(QStringLiteral("settings.ini")))); }
};

const QByteArray kReceipt12 = "\xEF\xBB\xBF"
                              "Welcome to Our Shop\r\n31.01.2025 14:05:09\r\n\r\nReceipt Number: 12\r\n\r\n"
                              "COFFEE (2.50) * 2\r\nMILK (1.20) * 1\r\n\r\nTotal: $ 6.20\r\n\r\nThank you\r\n";

TEST_P(CheckoutTest, CashSaleStoresTheLinesSavesReceipt12AndClearsTheScreen)
{
    startShop();
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    sellByCash();

    ASSERT_EQ(dialogs.shown.size(), 1u); // "Ask Print" is off: only the confirmation
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Sell by Cash"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Confirm?"));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs.shown[0].buttons, Dialogs::Yes | Dialogs::No);

    EXPECT_EQ(query(QStringLiteral("SELECT fisno,barkod,urunadi,adet,fiyat FROM odemeler ORDER BY id")),
              (QStringList{"12|C1|COFFEE|2|2.5", "12|M1|MILK|1|1.2"}));
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 3);
    EXPECT_EQ(stockOf(QStringLiteral("M1")), 0);

    EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")), kReceipt12);
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(settingsText().contains(QStringLiteral("ReceiptNumber=13\r\n")));

    EXPECT_TRUE(listRows().isEmpty());
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 0.00"));
    EXPECT_FALSE(control<QWidget>("Panel6")->isVisible());
    EXPECT_FALSE(form->sellByCashButton()->isEnabled());
    EXPECT_FALSE(form->sellByCreditButton()->isEnabled());
}

TEST_P(CheckoutTest, ADiscountedSaleStoresTheDiscountedPriceAndStockNeverGoesBelowZero)
{
    start();
    addProduct(QStringLiteral("T1"), QStringLiteral("BOB'S TEA"), 20, 1);
    for (int i = 0; i < 3; ++i)
        scan(QStringLiteral("T1"));
    answerDiscount(QStringLiteral("10"));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    sellByCash();

    EXPECT_EQ(query(QStringLiteral("SELECT fisno,barkod,urunadi,adet,fiyat FROM odemeler")),
              QStringList{"1|T1|BOB'S TEA|3|18"});
    EXPECT_EQ(stockOf(QStringLiteral("T1")), 0);
    EXPECT_EQ(screen().sale().discountRate(), 0);
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("0%"));
    // No receipt folder: nothing is written, nothing is said, and the number still advances.
    EXPECT_EQ(form->context().receiptNumbers().next(), 2);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Confirm?"});
    EXPECT_EQ(QDir(programFolder()).entryList({QStringLiteral("*.txt")}), QStringList());

    // A product scanned afterwards is full price again.
    addProduct(QStringLiteral("S1"), QStringLiteral("SUGAR"), 3);
    scan(QStringLiteral("S1"));
    EXPECT_EQ(listRows(), QStringList{"S1|SUGAR|3.00|1|3.00||"});
}

TEST_P(CheckoutTest, NoAtTheConfirmationChangesNothing)
{
    startShop();
    answerDiscount(QStringLiteral("10"));
    const QStringList before = listRows();
    dialogs.messageAnswers.push_back(Dialogs::No);
    sellByCash();
    EXPECT_EQ(listRows(), before);
    EXPECT_EQ(screen().sale().discountRate(), 10);
    EXPECT_TRUE(query(QStringLiteral("SELECT * FROM odemeler")).isEmpty());
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 5);
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
    EXPECT_FALSE(QFileInfo::exists(receiptFolder() + QStringLiteral("/12.txt")));
}

TEST_P(CheckoutTest, AskPrintOffersPrintingAndACancelledPrintDialogStillCompletesTheSale)
{
    startShop({QStringLiteral("Print=1")});
    ASSERT_TRUE(form->action(QStringLiteral("AskPrint1"))->isChecked());

    // Print dialog cancelled: the sale completes as without printing.
    dialogs.messageAnswers = {Dialogs::Yes, Dialogs::Yes};
    dialogs.printAnswers.push_back(QString());
    sellByCash();
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?"}));
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("Sell by Cash"));
    EXPECT_EQ(dialogs.lastMessage()->buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")), kReceipt12);
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(listRows().isEmpty());

    // Printed to a PDF file.
    scan(QStringLiteral("C1"));
    const QString pdf = programFolder() + QStringLiteral("receipt13.pdf");
    dialogs.messageAnswers = {Dialogs::Yes, Dialogs::Yes};
    dialogs.printAnswers.push_back(pdf);
    sellByCash();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(QFileInfo::exists(receiptFolder() + QStringLiteral("/13.txt")));
    EXPECT_EQ(form->context().receiptNumbers().next(), 14);
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_P(CheckoutTest, APrintingFailureStillCompletesTheStoredSaleOnceWithItsReceiptNumberAndFile)
{
    // The system printer failing, and a direct receipt printer that cannot be reached.
    const QStringList printers[] = {
        {},
        {QStringLiteral("ReceiptPrinter=escpos-tcp"),
         QStringLiteral("ReceiptPrinterAddress=127.0.0.1:%1").arg(LoopbackPrinter::unusedPort())}};
    for (const QStringList& printer : printers) {
        SCOPED_TRACE(printer.join(u' ').toStdString());
        form.reset();
        dialogs.clear();
        renewDatabase();
        QFile::remove(receiptFolder() + QStringLiteral("/12.txt"));
        startShop(QStringList{QStringLiteral("Print=1")} + printer);
        dialogs.messageAnswers = {Dialogs::Yes, Dialogs::Yes};
        dialogs.printAnswers.push_back(programFolder() + QStringLiteral("no such folder/receipt.pdf"));
        sellByCash();

        ASSERT_NE(dialogs.lastMessage(), nullptr);
        EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?", "Printer not found!"}));
        EXPECT_EQ(dialogs.lastMessage()->caption, form->context().AppTitle);
        // Stored once, numbered and saved; nothing left on screen to be sold a second time.
        EXPECT_TRUE(listRows().isEmpty());
        EXPECT_FALSE(form->sellByCashButton()->isEnabled());
        EXPECT_EQ(query(QStringLiteral("SELECT fisno,urunadi FROM odemeler ORDER BY id")),
                  (QStringList{"12|COFFEE", "12|MILK"}));
        EXPECT_EQ(stockOf(QStringLiteral("C1")), 3);
        EXPECT_EQ(fileBytes(receiptFolder() + QStringLiteral("/12.txt")), kReceipt12);
        EXPECT_EQ(form->context().receiptNumbers().next(), 13);
        EXPECT_TRUE(settingsText().contains(QStringLiteral("ReceiptNumber=13\r\n")));

        // The next sale takes the next number.
        scan(QStringLiteral("C1"));
        dialogs.messageAnswers = {Dialogs::Yes, Dialogs::No};
        sellByCash();
        EXPECT_EQ(query(QStringLiteral("SELECT fisno,urunadi FROM odemeler ORDER BY id")),
                  (QStringList{"12|COFFEE", "12|MILK", "13|COFFEE"}));
        EXPECT_EQ(form->context().receiptNumbers().next(), 14);
    }
}

TEST_P(CheckoutTest, AReceiptFileThatCannotBeWrittenIsReportedAndTheSaleStillCompletes)
{
    writeSettings({QStringLiteral("ReceiptFolder=") + programFolder() + QStringLiteral("missing")});
    start();
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    scan(QStringLiteral("C1"));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    sellByCash();

    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("ERROR"));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
    EXPECT_EQ(dialogs.lastMessage()->text,
              QStringLiteral("Cannot create file\r\r") + programFolder() + QStringLiteral("missing/1.txt"));
    EXPECT_EQ(form->context().receiptNumbers().next(), 2);
    EXPECT_TRUE(listRows().isEmpty());
    EXPECT_EQ(query(QStringLiteral("SELECT urunadi FROM odemeler")), QStringList{"COFFEE"});
}

TEST_P(CheckoutTest, ASaleTheDatabaseCannotCommitStaysOnScreenWithNothingStored)
{
    startShop();
    ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(FailCommitsOfSql(onServer(), {QStringLiteral("odemeler")})));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    sellByCash();

    const QStringList shown = dialogs.messageTexts();
    ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    EXPECT_EQ(shown[0], QStringLiteral("Confirm?"));
    if (onServer())
        EXPECT_TRUE(shown[1].startsWith(QStringLiteral("Exception raised with message: "))
                    && shown[1].contains(QStringLiteral("violates foreign key constraint")))
            << shown[1].toStdString();
    else
        EXPECT_EQ(shown[1], QStringLiteral("Exception raised with message: FOREIGN KEY constraint failed"));
    EXPECT_TRUE(query(QStringLiteral("SELECT * FROM odemeler")).isEmpty());
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 5);
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
    EXPECT_FALSE(QFileInfo::exists(receiptFolder() + QStringLiteral("/12.txt")));
    EXPECT_EQ(listRows().size(), 2);
}

TEST_P(CheckoutTest, AFailedLineIsReportedOnceAndTheSaleStaysWithNothingStored)
{
    startShop();
    const QString refuseMilk =
        onServer() ? QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                    "'BEGIN RAISE EXCEPTION ''refused''; END';"
                                    "CREATE TRIGGER refuse BEFORE INSERT ON odemeler FOR EACH ROW "
                                    "WHEN (NEW.urunadi = 'MILK') EXECUTE FUNCTION refuse();")
                   : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON odemeler WHEN new.urunadi = 'MILK' "
                                    "BEGIN SELECT raise(abort, 'refused'); END;");
    ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(refuseMilk));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    sellByCash();

    const QStringList shown = dialogs.messageTexts();
    ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("Exception raised with message: ")) && shown[1].contains(QStringLiteral("refused")))
        << shown[1].toStdString();
    // The sale's record says what the sale was, so a sale missing a line is not stored: nothing is stored and the
    // sale stays for another try, on both engines.
    EXPECT_TRUE(query(QStringLiteral("SELECT * FROM odemeler")).isEmpty());
    EXPECT_TRUE(query(QStringLiteral("SELECT * FROM sale_records")).isEmpty());
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 5);
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
    EXPECT_EQ(listRows().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, CheckoutTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

// The menu's "Ask Print" never reaches the database.
class CheckoutSettingsTest : public SaleFixture
{
protected:
    QString settingsText() { return QString::fromUtf8(fileBytes(dataFile(QStringLiteral("settings.ini")))); }
};

TEST_F(CheckoutSettingsTest, AskPrintIsWrittenToTheSettingsFileAtOnce)
{
    start();
    QAction* askPrint = form->action(QStringLiteral("AskPrint1"));
    ASSERT_FALSE(askPrint->isChecked());
    askPrint->trigger();
    EXPECT_TRUE(askPrint->isChecked());
    EXPECT_TRUE(settingsText().contains(QStringLiteral("Print=1\r\n")));
    askPrint->trigger();
    EXPECT_TRUE(settingsText().contains(QStringLiteral("Print=0\r\n")));
}

} // namespace

#include "SaleFixture.h"
#include "app/ui/LongTaskRunner.h"
#include "pos/EscPosReceipt.h"
#include "pos/ui/TFormReceipts.h"
#include "pos/ui/ReceiptPrinterGroup.h"
#include "support/LoopbackPrinter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

const QString kReceipt12Text = QStringLiteral("Welcome to Our Shop\r\n31.01.2025 14:05:09\r\n\r\n"
                                              "Receipt Number: 12\r\n\r\n"
                                              "COFFEE (2.50) * 2\r\nMILK (1.20) * 1\r\n\r\nTotal: $ 6.20\r\n\r\n"
                                              "Thank you\r\n");

// The sale screen with COFFEE x2 and MILK in the list, receipt number 12, receipts saved, "Ask Print" on, and
// receipts going to an ESC/POS printer.
class EscPosCheckoutTest : public SaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }
    QString receipt12File() const { return receiptFolder() + QStringLiteral("/12.txt"); }

    void startShop(const QString& kind, const QString& address, bool cashDrawer)
    {
        QDir().mkpath(receiptFolder());
        writeSettings({QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder(),
                       QStringLiteral("Print=1"), QStringLiteral("ReceiptPrinter=") + kind,
                       QStringLiteral("ReceiptPrinterAddress=") + address,
                       QStringLiteral("CashDrawer=%1").arg(cashDrawer ? 1 : 0)});
        start();
        addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
        addProduct(QStringLiteral("M1"), QStringLiteral("MILK"), 1.2, 5);
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("C1"));
        scan(QStringLiteral("M1"));
    }

    void sellByCash(int printAnswer)
    {
        dialogs.messageAnswers = {Dialogs::Yes, printAnswer};
        form->sellByCashButton()->click();
    }

    QStringList payments() { return query(QStringLiteral("SELECT fisno,urunadi,adet FROM odemeler ORDER BY id")); }
    bool printDialogShown() const
    {
        return std::any_of(dialogs.shown.begin(), dialogs.shown.end(),
                           [](const auto& s) { return s.kind == QStringLiteral("print"); });
    }

    static QByteArray receiptBytes(const QString& text) { return EscPosReceiptBytes(text, {42, 1252, true}); }
};

TEST_F(EscPosCheckoutTest, ACashSalePrintsWithoutTheDialogAndOpensTheDrawerPrintedOrNot)
{
    LoopbackPrinter printer;
    startShop(QStringLiteral("escpos-tcp"), printer.address(), true);
    sellByCash(Dialogs::Yes);

    ASSERT_EQ(printer.received().size(), 1);
    EXPECT_EQ(printer.received().at(0).toHex(' '), (receiptBytes(kReceipt12Text) + EscPosDrawerPulse()).toHex(' '));
    EXPECT_FALSE(printDialogShown());
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?"}));
    EXPECT_EQ(fileBytes(receipt12File()), "\xEF\xBB\xBF" + kReceipt12Text.toUtf8());
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(listRows().isEmpty());

    // Not printed: the drawer still opens, after the sale is complete.
    scan(QStringLiteral("M1"));
    sellByCash(Dialogs::No);
    ASSERT_EQ(printer.received().size(), 2);
    EXPECT_EQ(printer.received().at(1), EscPosDrawerPulse());
    EXPECT_EQ(form->context().receiptNumbers().next(), 14);
    EXPECT_EQ(payments().last(), QStringLiteral("13|MILK|1"));
    EXPECT_EQ(dialogs.messageTexts().size(), 4); // no error
}

TEST_F(EscPosCheckoutTest, ACreditSalePrintsButNeverOpensTheDrawer)
{
    LoopbackPrinter printer;
    startShop(QStringLiteral("escpos-tcp"), printer.address(), true);
    ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(
        QStringLiteral("insert into musteriler (id, musteriadi) values (7, 'Ann')")));
    dialogs.messageAnswers = {Dialogs::Yes};
    dialogs.modalScripts.push_back([](QDialog& dialog) {
        dialog.show();
        FindControl<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(0);
        QTest::mouseClick(FindControl<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        return dialog.result();
    });
    form->sellByCreditButton()->click();

    ASSERT_EQ(printer.received().size(), 1);
    EXPECT_EQ(printer.received().at(0), receiptBytes(kReceipt12Text));
    EXPECT_FALSE(printDialogShown());
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"2"});
}

TEST_F(EscPosCheckoutTest, APrinterThatCannotBeReachedOrNeverReadsGivesPrinterNotFoundWithTheSaleStored)
{
    LoopbackPrinter silent(LoopbackPrinter::Mode::NeverRead);
    const QString addresses[] = {QStringLiteral("127.0.0.1:%1").arg(LoopbackPrinter::unusedPort()), silent.address()};
    for (const QString& address : addresses) {
        SCOPED_TRACE(address.toStdString());
        TearDown();
        QFile::remove(dataFile(QStringLiteral("data.db")));
        dialogs.clear();
        startShop(QStringLiteral("escpos-tcp"), address, true);
        sellByCash(Dialogs::Yes);

        EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?", "Printer not found!"}));
        EXPECT_EQ(dialogs.lastMessage()->caption, form->context().AppTitle);
        EXPECT_EQ(payments(), (QStringList{"12|COFFEE|2", "12|MILK|1"}));
        EXPECT_EQ(form->context().receiptNumbers().next(), 13);
        EXPECT_EQ(fileBytes(receipt12File()), "\xEF\xBB\xBF" + kReceipt12Text.toUtf8());
        EXPECT_TRUE(listRows().isEmpty());
    }
}

TEST_F(EscPosCheckoutTest, TheWindowKeepsRunningWithTheBusyCursorWhileTheStoredSaleGoesToThePrinter)
{
    // The printer reads only when the window's own timer lets it: a send that held up the window would never
    // get there and would end at the time-out.
    LoopbackPrinter printer(LoopbackPrinter::Mode::ReadWhenReleased);
    startShop(QStringLiteral("escpos-tcp"), printer.address(), true);
    bool timerRan = false;
    bool busyCursor = false;
    QStringList storedMeanwhile;
    QTimer::singleShot(0, form.get(), [&] {
        timerRan = true;
        busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        storedMeanwhile = payments();
        printer.release();
    });
    sellByCash(Dialogs::Yes);

    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(storedMeanwhile, (QStringList{"12|COFFEE|2", "12|MILK|1"}));
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?"}));
    ASSERT_EQ(printer.received().size(), 1);
    EXPECT_EQ(printer.received().at(0), receiptBytes(kReceipt12Text) + EscPosDrawerPulse());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_F(EscPosCheckoutTest, CancelWhileThePrinterDoesNotAnswerEndsTheWaitWithTheSaleComplete)
{
    LoopbackPrinter silent(LoopbackPrinter::Mode::NeverRead);
    startShop(QStringLiteral("escpos-tcp"), silent.address(), true);
    LongTaskRunner::setDialogDelay(0);
    QString shown;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&shown] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible()) {
                shown = progress->labelText();
                if (auto* cancel = progress->findChild<QPushButton*>(); cancel && progress->windowHandle())
                    QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {},
                                      cancel->mapTo(progress, cancel->rect().center()));
            }
    });
    clicker.start(10);
    sellByCash(Dialogs::Yes);
    LongTaskRunner::setDialogDelay(500);

    EXPECT_EQ(shown, QStringLiteral("Sending to the receipt printer..."));
    // Not printed, as when the print dialog is cancelled: no error, and a cash receipt is kept all the same.
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?"}));
    EXPECT_EQ(payments(), (QStringList{"12|COFFEE|2", "12|MILK|1"}));
    EXPECT_TRUE(QFileInfo::exists(receipt12File()));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_F(EscPosCheckoutTest, AFailedDrawerPulseWithoutAReceiptLeavesTheSaleComplete)
{
    startShop(QStringLiteral("escpos-tcp"), QStringLiteral("127.0.0.1:%1").arg(LoopbackPrinter::unusedPort()), true);
    sellByCash(Dialogs::No);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Confirm?", "Print?", "Printer not found!"}));
    EXPECT_EQ(payments().size(), 2);
    EXPECT_TRUE(QFileInfo::exists(receipt12File()));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_F(EscPosCheckoutTest, ADevicePrinterGetsTheReceiptInItsFile)
{
    const QString device = programFolder() + QStringLiteral("lp0");
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    startShop(QStringLiteral("escpos-device"), device, false);
    sellByCash(Dialogs::Yes);
    EXPECT_EQ(fileBytes(device), receiptBytes(kReceipt12Text));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
}

TEST_F(EscPosCheckoutTest, OpenCashDrawerIsForAdministratorsWithADrawerSetUp)
{
    LoopbackPrinter printer;
    startShop(QStringLiteral("escpos-tcp"), printer.address(), true);
    QAction* openDrawer = form->action(QStringLiteral("OpenCashDrawer1"));
    ASSERT_NE(openDrawer, nullptr);
    EXPECT_EQ(openDrawer->text(), QStringLiteral("Open Cash Drawer"));

    form->context().SetAdminMode(false);
    openDrawer->trigger();
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("You are not logged as admin!"));
    EXPECT_TRUE(printer.received().isEmpty());

    form->context().SetAdminMode(true);
    openDrawer->trigger();
    EXPECT_EQ(printer.received(), QList<QByteArray>{EscPosDrawerPulse()});

    form->context().settings().WriteInteger(QStringLiteral("CashDrawer"), 0);
    openDrawer->trigger();
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("No cash drawer is set up."));
    EXPECT_EQ(printer.received().size(), 1);
}

TEST_F(EscPosCheckoutTest, TheReceiptsWindowStoresThePrinterOnOkAndPrintsATestPageWithItsChoice)
{
    LoopbackPrinter printer;
    startShop(QStringLiteral("system"), QString(), false);
    // OK without a change leaves the code page to follow the language.
    FindControl<QPushButton>(*TFormReceipts::showFor(form->context()), "Button2")->click();
    EXPECT_FALSE(fileBytes(dataFile(QStringLiteral("settings.ini"))).contains("ReceiptPrinterCodePage"));

    TFormReceipts* window = TFormReceipts::showFor(form->context());
    const ReceiptPrinterGroup& group = *FindControl<ReceiptPrinterGroup>(*window, "GroupReceiptPrinter");
    auto* kind = FindControl<QComboBox>(group, "ComboPrinterKind");
    auto* address = FindControl<QLineEdit>(group, "EditPrinterAddress");
    auto* columns = FindControl<QSpinBox>(group, "SpinPrinterColumns");
    auto* codePage = FindControl<QComboBox>(group, "ComboPrinterCodePage");
    EXPECT_EQ(kind->currentIndex(), 0);
    EXPECT_FALSE(address->isEnabled());
    EXPECT_EQ(columns->value(), 42);
    EXPECT_EQ(codePage->currentText(), QStringLiteral("1252"));

    kind->setCurrentIndex(1);
    EXPECT_TRUE(address->isEnabled());
    QTest::keyClicks(address, printer.address());
    columns->setValue(32);
    codePage->setCurrentIndex(codePage->findText(QStringLiteral("858")));
    FindControl<QCheckBox>(group, "CheckPrinterCut")->setChecked(false);
    FindControl<QCheckBox>(group, "CheckCashDrawer")->setChecked(true);

    // The test page uses the choice before it is stored, and never opens the drawer.
    FindControl<QPushButton>(group, "ButtonTestPage")->click();
    ASSERT_EQ(printer.received().size(), 1);
    const QByteArray page = printer.received().at(0);
    EXPECT_TRUE(page.startsWith("\x1B@\x1Bt\x13" "Welcome to Our Shop\n")) << page.toStdString();
    EXPECT_TRUE(page.contains("Sample product (2.50) * 2\n"));
    EXPECT_TRUE(page.endsWith("\n\n\n\n"));
    EXPECT_EQ(form->context().settings().ReadString(QStringLiteral("ReceiptPrinter"), QString()),
              QStringLiteral("system"));

    FindControl<QPushButton>(*window, "Button2")->click();
    const QByteArray settings = fileBytes(dataFile(QStringLiteral("settings.ini")));
    for (const QByteArray& line : {QByteArray("ReceiptPrinter=escpos-tcp"),
                                   "ReceiptPrinterAddress=" + printer.address().toUtf8(),
                                   QByteArray("ReceiptPrinterColumns=32"), QByteArray("ReceiptPrinterCodePage=858"),
                                   QByteArray("ReceiptPrinterCut=0"), QByteArray("CashDrawer=1")})
        EXPECT_TRUE(settings.contains("\r\n" + line + "\r\n")) << line.toStdString();
}

} // namespace

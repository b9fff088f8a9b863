#include "pos/SaleFixture.h"
#include "support/FindControl.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// Scripted dialogs that also call back when a message or the print dialog is shown: the moment at which the
// test copies the program's files, which is what a crash at that moment would leave behind.
class WatchedDialogs : public ScriptedDialogs
{
public:
    std::function<void(const QString& text)> onMessage;
    std::function<void()> onPrintDialog;

    int showMessage(QWidget* parent, const Message& message) override
    {
        if (onMessage)
            onMessage(message.text);
        return ScriptedDialogs::showMessage(parent, message);
    }
    bool choosePrinter(QWidget* parent, QPrinter& printer) override
    {
        if (onPrintDialog)
            onPrintDialog();
        return ScriptedDialogs::choosePrinter(parent, printer);
    }
};

// A shop with receipt number 12, receipts saved and "Ask Print" on. crash() stands for the program being killed
// at that instant: the files as they are then are kept, and restart() starts the program again on them.
class ReceiptNumberCrashTest : public SaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }
    QString snapshotFolder() const { return m_dir.path() + QStringLiteral("/at-crash/"); }

    void startShop()
    {
        QDir().mkpath(receiptFolder());
        writeSettings({QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder(),
                       QStringLiteral("Print=1")});
        startWatched();
        ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(
            QStringLiteral("insert into musteriler (musteriadi) values ('Ann')")));
        addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 50);
        scan(QStringLiteral("C1"));
    }
    void startWatched()
    {
        form = std::make_unique<TAppForm>(env, watched);
        form->TimerChecker->stop();
        form->show();
        pump();
    }
    // The program's files at this instant (the database is not in a transaction at the moments used here).
    void crash()
    {
        QDir().mkpath(snapshotFolder());
        for (const QString& name : {QStringLiteral("settings.ini"), QStringLiteral("data.db")}) {
            QFile::remove(snapshotFolder() + name);
            ASSERT_TRUE(QFile::copy(dataFile(name), snapshotFolder() + name));
        }
        crashed = true;
    }
    void restartFromCrash()
    {
        ASSERT_TRUE(crashed);
        form.reset();
        for (const QString& name : {QStringLiteral("settings.ini"), QStringLiteral("data.db")}) {
            QFile::remove(dataFile(name));
            ASSERT_TRUE(QFile::copy(snapshotFolder() + name, dataFile(name)));
        }
        watched.onMessage = nullptr;
        watched.onPrintDialog = nullptr;
        startWatched();
    }
    void sellByCash(const QString& printTo = QString())
    {
        watched.messageAnswers = {Dialogs::Yes, printTo.isEmpty() ? Dialogs::No : Dialogs::Yes};
        if (!printTo.isEmpty())
            watched.printAnswers = {printTo};
        form->sellByCashButton()->click();
    }
    void sellByCredit(const QString& printTo)
    {
        watched.messageAnswers = {Dialogs::Yes};
        watched.printAnswers = {printTo};
        watched.modalScripts.push_back([](QDialog& dialog) {
            FindControl<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(0);
            FindControl<QPushButton>(dialog, "BitBtn1")->click();
            return dialog.result();
        });
        form->sellByCreditButton()->click();
    }

    WatchedDialogs watched;
    bool crashed = false;
};

} // namespace

// Killed once the cash sale is stored (while "Print?" is asked): the restarted program must not store the next
// sale under the same receipt number, nor overwrite that sale's receipt file with another.
TEST_F(ReceiptNumberCrashTest, ACrashAfterACashSaleIsStoredDoesNotReuseItsReceiptNumber)
{
    startShop();
    watched.onMessage = [this](const QString& text) {
        if (text == QLatin1String("Print?"))
            crash();
    };
    sellByCash();
    restartFromCrash();
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);

    scan(QStringLiteral("C1"));
    scan(QStringLiteral("C1"));
    sellByCash();
    EXPECT_EQ(query(QStringLiteral("SELECT fisno, adet FROM odemeler ORDER BY id")), (QStringList{"12|1", "13|2"}));
    EXPECT_TRUE(fileBytes(receiptFolder() + QStringLiteral("/13.txt")).contains("COFFEE (2.50) * 2"));
    EXPECT_EQ(form->context().receiptNumbers().next(), 14);
}

// Killed while a credit receipt is being printed: the receipt on paper carries number 12, so the restarted
// program goes on with 13. A print dialog that is cancelled gives the number back.
TEST_F(ReceiptNumberCrashTest, ACrashWhileACreditReceiptIsPrintedDoesNotReuseItsNumber)
{
    startShop();
    sellByCredit(QString()); // print dialog cancelled
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
    EXPECT_TRUE(fileBytes(dataFile(QStringLiteral("settings.ini"))).contains("ReceiptNumber=12\r\n"));

    scan(QStringLiteral("C1"));
    watched.onPrintDialog = [this] { crash(); };
    sellByCredit(programFolder() + QStringLiteral("receipt.pdf"));
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
    restartFromCrash();
    EXPECT_EQ(form->context().receiptNumbers().next(), 13);
}

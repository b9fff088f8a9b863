#include "platform/TextFile.h"
#include "pos/ui/TPrintTemplateForm.h"
#include "pos/ui/TFormReceipts.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QAction>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The two windows are built on the context; only the menu test starts the main window.
class ReceiptSetupTest : public AppFixture
{
protected:
    void TearDown() override
    {
        for (const QPointer<TFormReceipts>& window : m_receiptWindows)
            delete window.data(); // the ones still open
        AppFixture::TearDown();
    }

    // Opens the receipts window as the Settings menu does.
    TFormReceipts* openReceipts()
    {
        TFormReceipts* window = TFormReceipts::showFor(*context);
        m_receiptWindows.emplace_back(window);
        return window;
    }

    QString settingsFile() const { return dataFile(QStringLiteral("settings.ini")); }
    QString templateFile() const { return dataFile(QStringLiteral("PrintTemplate.txt")); }

    // Opens the template editor; the script drives it and returns how it closed.
    int editTemplate(const std::function<void(TPrintTemplateForm&)>& script)
    {
        int result = -1;
        dialogs.modalScripts.push_back([script, &result](QDialog& dialog) {
            auto* editor = dynamic_cast<TPrintTemplateForm*>(&dialog);
            EXPECT_NE(editor, nullptr);
            if (editor)
                script(*editor);
            result = dialog.result();
            return result;
        });
        const qsizetype before = dialogs.modalWindows.size();
        TPrintTemplateForm::showModalFor(*context);
        EXPECT_EQ(dialogs.modalWindows.size(), before + 1);
        return result;
    }

private:
    std::vector<QPointer<TFormReceipts>> m_receiptWindows;
};

TEST_F(ReceiptSetupTest, TheSettingsMenuOpensTheReceiptsWindowAndTheTemplateEditor)
{
    start();
    form->action(QStringLiteral("Receipts1"))->trigger();
    const auto* receipts = form->findChild<TFormReceipts*>();
    ASSERT_NE(receipts, nullptr);
    EXPECT_TRUE(receipts->isVisible());
    EXPECT_FALSE(receipts->isModal());

    dialogs.modalScripts.push_back([](QDialog&) { return int(QDialog::Rejected); });
    form->action(QStringLiteral("PrintTemplate1"))->trigger();
    EXPECT_EQ(dialogs.modalWindows, QStringList{QStringLiteral("PrintTemplateForm")});
}

TEST_F(ReceiptSetupTest, ReceiptSettingsAreStoredAtOnceOnOk)
{
    AppContext& ctx = startContext();
    QPointer<TFormReceipts> window = openReceipts();
    ASSERT_TRUE(window);
    auto* number = FindControl<QSpinBox>(*window, "SpinEdit1");
    auto* folder = FindControl<QLineEdit>(*window, "Edit1");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Receipts"));
    EXPECT_EQ(FindControl<QLabel>(*window, "Label2")->text(), QStringLiteral("Next Receipt Number:"));
    EXPECT_EQ(number->value(), 1);
    EXPECT_EQ(number->minimum(), 1);
    EXPECT_EQ(number->maximum(), 999999999);
    EXPECT_EQ(folder->text(), QString());

    number->setValue(100);
    folder->setText(QStringLiteral("  /srv/receipts \t"));
    QTest::mouseClick(FindControl<QPushButton>(*window, "Button2"), Qt::LeftButton);
    EXPECT_EQ(ctx.receiptNumbers().next(), 100);
    EXPECT_EQ(ctx.receipts.ReceiptFolder, QStringLiteral("/srv/receipts"));
    const QByteArray ini = readBytes(settingsFile());
    EXPECT_TRUE(ini.contains("ReceiptNumber=100\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("ReceiptFolder=/srv/receipts\r\n")) << ini.constData();
    pump();
    EXPECT_FALSE(window); // closed and freed

    // A new window shows what was stored.
    TFormReceipts* again = openReceipts();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(FindControl<QSpinBox>(*again, "SpinEdit1")->value(), 100);
    EXPECT_EQ(FindControl<QLineEdit>(*again, "Edit1")->text(), QStringLiteral("/srv/receipts"));
}

TEST_F(ReceiptSetupTest, StoredNumbersOutsideTheRangeAreClampedAndTextCountsAsOne)
{
    const struct { const char* stored; int shown; } cases[] = {
        {"0", 1}, {"-5", 1}, {"999999999", 999999999}, {"5000000000", 999999999}, {"abc", 1}};
    for (const auto& c : cases) {
        writeSettings({QStringLiteral("ReceiptNumber=") + QString::fromLatin1(c.stored)});
        startContext();
        TFormReceipts* window = openReceipts();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FindControl<QSpinBox>(*window, "SpinEdit1")->value(), c.shown) << c.stored;
        delete window;
        context.reset();
    }

    AppContext& ctx = startContext();
    TFormReceipts* window = openReceipts();
    ASSERT_NE(window, nullptr);
    FindControl<QSpinBox>(*window, "SpinEdit1")->findChild<QLineEdit*>()->clear(); // nothing typed
    QTest::mouseClick(FindControl<QPushButton>(*window, "Button2"), Qt::LeftButton);
    EXPECT_EQ(ctx.receiptNumbers().next(), 1);
    EXPECT_TRUE(readBytes(settingsFile()).contains("ReceiptNumber=1\r\n"));
}

TEST_F(ReceiptSetupTest, CancelEscapeAndTheCloseBoxDiscardTheEdits)
{
    writeSettings({QStringLiteral("ReceiptNumber=7"), QStringLiteral("ReceiptFolder=/old")});
    AppContext& ctx = startContext();
    const QByteArray before = readBytes(settingsFile());
    const std::function<void(TFormReceipts&)> closers[] = {
        [](TFormReceipts& w) { QTest::mouseClick(FindControl<QPushButton>(w, "Button3"), Qt::LeftButton); },
        [](TFormReceipts& w) { QTest::keyClick(FindControl<QLineEdit>(w, "Edit1"), Qt::Key_Escape); },
        [](TFormReceipts& w) { w.close(); },
    };
    for (const auto& closeWindow : closers) {
        QPointer<TFormReceipts> window = openReceipts();
        ASSERT_TRUE(window);
        auto* folder = FindControl<QLineEdit>(*window, "Edit1");
        window->activateWindow();
        folder->setFocus();
        FindControl<QSpinBox>(*window, "SpinEdit1")->setValue(500);
        folder->setText(QStringLiteral("/new"));
        closeWindow(*window);
        pump();
        EXPECT_FALSE(window);
        EXPECT_EQ(ctx.receiptNumbers().next(), 7);
        EXPECT_EQ(ctx.receipts.ReceiptFolder, QStringLiteral("/old"));
        EXPECT_EQ(readBytes(settingsFile()), before);
    }
}

TEST_F(ReceiptSetupTest, FolderButtonFillsTheFolderBox)
{
    startContext();
    TFormReceipts* window = openReceipts();
    ASSERT_NE(window, nullptr);
    auto* folder = FindControl<QLineEdit>(*window, "Edit1");
    auto* chooseFolder = FindControl<QToolButton>(*window, "Button1");
    folder->setText(QStringLiteral("/typed"));

    dialogs.folderAnswers.push_back(QString()); // cancelled
    QTest::mouseClick(chooseFolder, Qt::LeftButton);
    EXPECT_EQ(folder->text(), QStringLiteral("/typed"));
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown.back().caption, QStringLiteral("Select folder:"));

    dialogs.folderAnswers.push_back(QStringLiteral("/media/usb/receipts"));
    QTest::mouseClick(chooseFolder, Qt::LeftButton);
    EXPECT_EQ(folder->text(), QStringLiteral("/media/usb/receipts"));
    EXPECT_FALSE(QFile::exists(settingsFile())); // nothing stored before "OK"
}

TEST_F(ReceiptSetupTest, TemplateEditorShowsTheTemplateAndItsMenu)
{
    writeSettings({QStringLiteral("LanguageFile=Turkish.lang.txt")});
    AppContext& ctx = startContext();
    editTemplate([&ctx](TPrintTemplateForm& editor) {
        const auto* memo = FindControl<QPlainTextEdit>(editor, "Memo1");
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Fiş Şablonu"));
        const QFontMetrics metrics(memo->font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
        QStringList captions;
        for (QAction* item : FindControl<QMenu>(editor, "PopupMenu1")->actions())
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_EQ(captions, (QStringList{"Sıfırla", "-", "Ekle [DATE]", "Ekle [DATETIME]", "Ekle [LIST]",
                                         "Add [RECEIPTNO]", "Ekle [TIME]", "Ekle [TOTAL]", "Ekle [TENDERS]",
                                         "Ekle [SALEID]", "Ekle [ORIGINALRECEIPTNO]"}));
        EXPECT_EQ(memo->toPlainText(), ctx.receipts.ReceiptTemplate.join('\n'));
        EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("Mağazamıza Hoş Geldiniz\n")))
            << memo->toPlainText().toStdString();
    });
}

TEST_F(ReceiptSetupTest, ResetThenCancelLeavesTheTemplate)
{
    QFile file(templateFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("My Shop\r\n[LIST]\r\n");
    file.close();
    AppContext& ctx = startContext();
    ASSERT_EQ(ctx.receipts.ReceiptTemplate, (QStringList{"My Shop", "[LIST]"}));

    const std::function<void(TPrintTemplateForm&)> cancels[] = {
        [](TPrintTemplateForm& e) { QTest::mouseClick(FindControl<QPushButton>(e, "BitBtn2"), Qt::LeftButton); },
        [](TPrintTemplateForm& e) { QTest::keyClick(FindControl<QPlainTextEdit>(e, "Memo1"), Qt::Key_Escape); },
    };
    for (const auto& cancel : cancels) {
        editTemplate([&](TPrintTemplateForm& editor) {
            FindControl<QAction>(editor, "Reset1")->trigger();
            EXPECT_EQ(FindControl<QPlainTextEdit>(editor, "Memo1")->toPlainText(),
                      QString(ctx.receipts.DefaultReceiptTemplate).replace("\r\n", "\n"));
            cancel(editor);
            EXPECT_EQ(editor.result(), QDialog::Rejected);
        });
        EXPECT_EQ(ctx.receipts.ReceiptTemplate, (QStringList{"My Shop", "[LIST]"}));
        EXPECT_EQ(readBytes(templateFile()), QByteArray("My Shop\r\n[LIST]\r\n"));
    }
}

TEST_F(ReceiptSetupTest, AddAppendsAsTheLastLineAndOkWritesUtf8WithCrLf)
{
    AppContext& ctx = startContext();
    editTemplate([](TPrintTemplateForm& editor) {
        auto* memo = FindControl<QPlainTextEdit>(editor, "Memo1");
        memo->setPlainText(QStringLiteral("Café Ünal\n\nReceipt [RECEIPTNO]"));
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::Start);
        memo->setTextCursor(cursor); // in the first line
        FindControl<QAction>(editor, "AddLIST1")->trigger();
        FindControl<QAction>(editor, "AddTOTAL1")->trigger();
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("Café Ünal\n\nReceipt [RECEIPTNO]\n[LIST]\n[TOTAL]"));
        QTest::mouseClick(FindControl<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    EXPECT_EQ(ctx.receipts.ReceiptTemplate, (QStringList{"Café Ünal", "", "Receipt [RECEIPTNO]", "[LIST]",
                                                                     "[TOTAL]"}));
    EXPECT_EQ(readBytes(templateFile()),
              QByteArray("Caf\xC3\xA9 \xC3\x9Cnal\r\n\r\nReceipt [RECEIPTNO]\r\n[LIST]\r\n[TOTAL]\r\n"));
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());

    // An empty memo takes the placeholder as its only line.
    editTemplate([](TPrintTemplateForm& editor) {
        auto* memo = FindControl<QPlainTextEdit>(editor, "Memo1");
        memo->clear();
        FindControl<QAction>(editor, "AddDATE1")->trigger();
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("[DATE]"));
    });
}

TEST_F(ReceiptSetupTest, TheRefundTemplateIsEditedOnItsOwnTabAndWrittenOnlyWhenChanged)
{
    AppContext& ctx = startContext();
    const QString refundFile = dataFile(QStringLiteral("RefundTemplate.txt"));
    const QStringList builtIn = SplitLines(ctx.receipts.DefaultRefundTemplate);
    EXPECT_EQ(ctx.receipts.RefundTemplate, builtIn);
    EXPECT_TRUE(builtIn.contains(QStringLiteral("REFUND")));

    // Left as it is, the built-in template is not written: it follows the language.
    editTemplate([](TPrintTemplateForm& editor) {
        auto* tabs = FindControl<QTabWidget>(editor, "TemplateTabs");
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Sale"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Refund"));
        QTest::mouseClick(FindControl<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
    });
    EXPECT_FALSE(QFile::exists(refundFile));

    // Placeholders go to the template shown; Reset gives the refund's own built-in template back.
    editTemplate([&](TPrintTemplateForm& editor) {
        auto* refund = FindControl<QPlainTextEdit>(editor, "RefundMemo");
        auto* sale = FindControl<QPlainTextEdit>(editor, "Memo1");
        const QString saleText = sale->toPlainText();
        FindControl<QTabWidget>(editor, "TemplateTabs")->setCurrentWidget(refund);
        FindControl<QAction>(editor, "Reset1")->trigger();
        EXPECT_EQ(refund->toPlainText(), builtIn.join('\n'));
        refund->setPlainText(QStringLiteral("Money back"));
        FindControl<QAction>(editor, "AddORIGINALRECEIPTNO1")->trigger();
        EXPECT_EQ(refund->toPlainText(), QStringLiteral("Money back\n[ORIGINALRECEIPTNO]"));
        EXPECT_EQ(sale->toPlainText(), saleText);
        QTest::mouseClick(FindControl<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
    });
    EXPECT_EQ(ctx.receipts.RefundTemplate, (QStringList{"Money back", "[ORIGINALRECEIPTNO]"}));
    EXPECT_EQ(readBytes(refundFile), QByteArray("Money back\r\n[ORIGINALRECEIPTNO]\r\n"));
    context.reset();
    EXPECT_EQ(startContext().receipts.RefundTemplate, (QStringList{"Money back", "[ORIGINALRECEIPTNO]"}));
}

TEST_F(ReceiptSetupTest, AnEmptiedTemplateWritesAnEmptyFileAndTheDefaultReturnsAtTheNextStart)
{
    startContext();
    editTemplate([](TPrintTemplateForm& editor) {
        FindControl<QPlainTextEdit>(editor, "Memo1")->clear();
        QTest::mouseClick(FindControl<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
    });
    EXPECT_TRUE(context->receipts.ReceiptTemplate.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(templateFile()));
    EXPECT_EQ(QFileInfo(templateFile()).size(), 0);

    context.reset();
    const AppContext& again = startContext();
    EXPECT_EQ(again.receipts.ReceiptTemplate.join("\r\n"), again.receipts.DefaultReceiptTemplate);
}

TEST_F(ReceiptSetupTest, ATemplateThatCannotBeWrittenIsReportedAndStaysInForce)
{
    AppContext& ctx = startContext();
    // A folder where the file should be: the write fails.
    ASSERT_TRUE(QDir().mkpath(templateFile()));
    editTemplate([](TPrintTemplateForm& editor) {
        FindControl<QPlainTextEdit>(editor, "Memo1")->setPlainText(QStringLiteral("Only this"));
        QTest::mouseClick(FindControl<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    EXPECT_EQ(ctx.receipts.ReceiptTemplate, QStringList{"Only this"});
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_TRUE(dialogs.lastMessage()->text.startsWith(QStringLiteral("Cannot create file"))) << dialogs.lastMessage()->text.toStdString();
    EXPECT_EQ(dialogs.lastMessage()->caption, ctx.AppTitle);
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
    EXPECT_TRUE(QFileInfo(templateFile()).isDir());
}

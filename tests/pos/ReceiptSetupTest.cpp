#include "pos/ui/TPrintTemplateForm.h"
#include "pos/ui/TFormReceipts.h"
#include "support/AppFixture.h"

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

class ReceiptSetupTest : public AppFixture
{
protected:
    TFormReceipts* openReceipts()
    {
        form->action(QStringLiteral("Receipts1"))->trigger();
        auto* window = form->findChild<TFormReceipts*>();
        EXPECT_NE(window, nullptr);
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
        form->action(QStringLiteral("PrintTemplate1"))->trigger();
        EXPECT_EQ(dialogs.modalWindows.size(), before + 1);
        return result;
    }
};

TEST_F(ReceiptSetupTest, ReceiptSettingsAreStoredAtOnceOnOk)
{
    start();
    QPointer<TFormReceipts> window = openReceipts();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Receipts"));
    EXPECT_EQ(window->Label2->text(), QStringLiteral("Next Receipt Number:"));
    EXPECT_EQ(window->SpinEdit1->value(), 1);
    EXPECT_EQ(window->SpinEdit1->minimum(), 1);
    EXPECT_EQ(window->SpinEdit1->maximum(), 999999999);
    EXPECT_EQ(window->Edit1->text(), QString());

    window->SpinEdit1->setValue(100);
    window->Edit1->setText(QStringLiteral("  /srv/receipts \t"));
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    EXPECT_EQ(form->context().receipts.ReceiptNumber, 100);
    EXPECT_EQ(form->context().receipts.ReceiptFolder, QStringLiteral("/srv/receipts"));
    const QByteArray ini = readBytes(settingsFile());
    EXPECT_TRUE(ini.contains("ReceiptNumber=100\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("ReceiptFolder=/srv/receipts\r\n")) << ini.constData();
    pump();
    EXPECT_FALSE(window); // closed and freed

    // A new window shows what was stored.
    TFormReceipts* again = openReceipts();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->SpinEdit1->value(), 100);
    EXPECT_EQ(again->Edit1->text(), QStringLiteral("/srv/receipts"));
}

TEST_F(ReceiptSetupTest, StoredNumbersOutsideTheRangeAreClampedAndTextCountsAsOne)
{
    const struct { const char* stored; int shown; } cases[] = {
        {"0", 1}, {"-5", 1}, {"999999999", 999999999}, {"5000000000", 999999999}, {"abc", 1}};
    for (const auto& c : cases) {
        writeSettings({QStringLiteral("ReceiptNumber=") + QString::fromLatin1(c.stored)});
        start();
        TFormReceipts* window = openReceipts();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->SpinEdit1->value(), c.shown) << c.stored;
        form.reset();
    }

    start();
    TFormReceipts* window = openReceipts();
    ASSERT_NE(window, nullptr);
    window->SpinEdit1->findChild<QLineEdit*>()->clear(); // nothing typed
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    EXPECT_EQ(form->context().receipts.ReceiptNumber, 1);
    EXPECT_TRUE(readBytes(settingsFile()).contains("ReceiptNumber=1\r\n"));
}

TEST_F(ReceiptSetupTest, CancelEscapeAndTheCloseBoxDiscardTheEdits)
{
    writeSettings({QStringLiteral("ReceiptNumber=7"), QStringLiteral("ReceiptFolder=/old")});
    start();
    const QByteArray before = readBytes(settingsFile());
    const std::function<void(TFormReceipts&)> closers[] = {
        [](TFormReceipts& w) { QTest::mouseClick(w.Button3, Qt::LeftButton); },
        [](TFormReceipts& w) { QTest::keyClick(w.Edit1, Qt::Key_Escape); },
        [](TFormReceipts& w) { w.close(); },
    };
    for (const auto& closeWindow : closers) {
        QPointer<TFormReceipts> window = openReceipts();
        ASSERT_TRUE(window);
        window->activateWindow();
        window->Edit1->setFocus();
        window->SpinEdit1->setValue(500);
        window->Edit1->setText(QStringLiteral("/new"));
        closeWindow(*window);
        pump();
        EXPECT_FALSE(window);
        EXPECT_EQ(form->context().receipts.ReceiptNumber, 7);
        EXPECT_EQ(form->context().receipts.ReceiptFolder, QStringLiteral("/old"));
        EXPECT_EQ(readBytes(settingsFile()), before);
    }
}

TEST_F(ReceiptSetupTest, FolderButtonFillsTheFolderBox)
{
    start();
    TFormReceipts* window = openReceipts();
    ASSERT_NE(window, nullptr);
    window->Edit1->setText(QStringLiteral("/typed"));

    dialogs.folderAnswers.push_back(QString()); // cancelled
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("/typed"));
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown.back().caption, QStringLiteral("Select folder:"));

    dialogs.folderAnswers.push_back(QStringLiteral("/media/usb/receipts"));
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("/media/usb/receipts"));
    EXPECT_FALSE(QFile::exists(settingsFile())); // nothing stored before "OK"
}

TEST_F(ReceiptSetupTest, TemplateEditorShowsTheTemplateAndItsMenu)
{
    writeSettings({QStringLiteral("LanguageFile=Turkish.lang.txt")});
    start();
    editTemplate([this](TPrintTemplateForm& editor) {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Fiş Şablonu"));
        const QFontMetrics metrics(editor.Memo1->font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
        QStringList captions;
        for (QAction* item : editor.PopupMenu1->actions())
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_EQ(captions, (QStringList{"Sıfırla", "-", "Ekle [DATE]", "Ekle [DATETIME]", "Ekle [LIST]",
                                         "Add [RECEIPTNO]", "Ekle [TIME]", "Ekle [TOTAL]"}));
        EXPECT_EQ(editor.Memo1->toPlainText(), form->context().receipts.ReceiptTemplate.join('\n'));
        EXPECT_TRUE(editor.Memo1->toPlainText().startsWith(QStringLiteral("Mağazamıza Hoş Geldiniz\n")))
            << editor.Memo1->toPlainText().toStdString();
    });
}

TEST_F(ReceiptSetupTest, ResetThenCancelLeavesTheTemplate)
{
    QFile file(templateFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("My Shop\r\n[LIST]\r\n");
    file.close();
    start();
    ASSERT_EQ(form->context().receipts.ReceiptTemplate, (QStringList{"My Shop", "[LIST]"}));

    const std::function<void(TPrintTemplateForm&)> cancels[] = {
        [](TPrintTemplateForm& e) { QTest::mouseClick(e.BitBtn2, Qt::LeftButton); },
        [](TPrintTemplateForm& e) { QTest::keyClick(e.Memo1, Qt::Key_Escape); },
    };
    for (const auto& cancel : cancels) {
        editTemplate([&](TPrintTemplateForm& editor) {
            editor.Reset1->trigger();
            EXPECT_EQ(editor.Memo1->toPlainText(),
                      QString(form->context().receipts.DefaultReceiptTemplate).replace("\r\n", "\n"));
            cancel(editor);
            EXPECT_EQ(editor.result(), QDialog::Rejected);
        });
        EXPECT_EQ(form->context().receipts.ReceiptTemplate, (QStringList{"My Shop", "[LIST]"}));
        EXPECT_EQ(readBytes(templateFile()), QByteArray("My Shop\r\n[LIST]\r\n"));
    }
}

TEST_F(ReceiptSetupTest, AddAppendsAsTheLastLineAndOkWritesUtf8WithCrLf)
{
    start();
    editTemplate([](TPrintTemplateForm& editor) {
        editor.Memo1->setPlainText(QStringLiteral("Café Ünal\n\nReceipt [RECEIPTNO]"));
        QTextCursor cursor = editor.Memo1->textCursor();
        cursor.movePosition(QTextCursor::Start);
        editor.Memo1->setTextCursor(cursor); // in the first line
        editor.AddLIST1->trigger();
        editor.AddTOTAL1->trigger();
        EXPECT_EQ(editor.Memo1->toPlainText(), QStringLiteral("Café Ünal\n\nReceipt [RECEIPTNO]\n[LIST]\n[TOTAL]"));
        QTest::mouseClick(editor.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    EXPECT_EQ(form->context().receipts.ReceiptTemplate, (QStringList{"Café Ünal", "", "Receipt [RECEIPTNO]", "[LIST]",
                                                                     "[TOTAL]"}));
    EXPECT_EQ(readBytes(templateFile()),
              QByteArray("Caf\xC3\xA9 \xC3\x9Cnal\r\n\r\nReceipt [RECEIPTNO]\r\n[LIST]\r\n[TOTAL]\r\n"));
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());

    // An empty memo takes the placeholder as its only line.
    editTemplate([](TPrintTemplateForm& editor) {
        editor.Memo1->clear();
        editor.AddDATE1->trigger();
        EXPECT_EQ(editor.Memo1->toPlainText(), QStringLiteral("[DATE]"));
    });
}

TEST_F(ReceiptSetupTest, AnEmptiedTemplateWritesAnEmptyFileAndTheDefaultReturnsAtTheNextStart)
{
    start();
    editTemplate([](TPrintTemplateForm& editor) {
        editor.Memo1->clear();
        QTest::mouseClick(editor.BitBtn1, Qt::LeftButton);
    });
    EXPECT_TRUE(form->context().receipts.ReceiptTemplate.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(templateFile()));
    EXPECT_EQ(QFileInfo(templateFile()).size(), 0);

    form.reset();
    start();
    EXPECT_EQ(form->context().receipts.ReceiptTemplate.join("\r\n"), form->context().receipts.DefaultReceiptTemplate);
}

TEST_F(ReceiptSetupTest, ATemplateThatCannotBeWrittenIsReportedAndStaysInForce)
{
    start();
    // A folder where the file should be: the write fails.
    ASSERT_TRUE(QDir().mkpath(templateFile()));
    editTemplate([](TPrintTemplateForm& editor) {
        editor.Memo1->setPlainText(QStringLiteral("Only this"));
        QTest::mouseClick(editor.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    EXPECT_EQ(form->context().receipts.ReceiptTemplate, QStringList{"Only this"});
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_TRUE(dialogs.lastMessage()->text.startsWith(QStringLiteral("Cannot create file"))) << dialogs.lastMessage()->text.toStdString();
    EXPECT_EQ(dialogs.lastMessage()->caption, form->context().AppTitle);
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
    EXPECT_TRUE(QFileInfo(templateFile()).isDir());
}

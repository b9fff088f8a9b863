#include "core/AppError.h"
#include "i18n/Translator.h"
#include "pos/ui/ReceiptPrinter.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page") - bytes.count("/Type /Pages"));
}

class ReceiptPrinterTest : public ::testing::Test
{
protected:
    QString pdf(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    ScriptedDialogs dialogs;
};

TEST_F(ReceiptPrinterTest, PrintsTheTextOnTheChosenPrinterWithNewPagesWhenFull)
{
    QString text;
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral("Line %1\r\n").arg(i);
    dialogs.printAnswers.push_back(pdf(QStringLiteral("receipt.pdf")));
    EXPECT_TRUE(PrintReceiptText(nullptr, dialogs, text, QStringLiteral("Zelkora - Quenvale"), 1252, false));
    ASSERT_TRUE(QFileInfo::exists(pdf(QStringLiteral("receipt.pdf"))));
    EXPECT_GT(QFileInfo(pdf(QStringLiteral("receipt.pdf"))).size(), 0);
    EXPECT_GE(PdfPageCount(pdf(QStringLiteral("receipt.pdf"))), 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("print"));
}

TEST_F(ReceiptPrinterTest, ALineWiderThanThePageContinuesOnTheNextLines)
{
    // One line of many pages' width: cut off at the edge it would fit on one page.
    dialogs.printAnswers.push_back(pdf(QStringLiteral("long.pdf")));
    EXPECT_TRUE(PrintReceiptText(nullptr, dialogs, QString(30000, QLatin1Char('W')), QString(), 1252, false));
    EXPECT_GE(PdfPageCount(pdf(QStringLiteral("long.pdf"))), 2);
}

TEST_F(ReceiptPrinterTest, ACancelledDialogPrintsNothing)
{
    dialogs.printAnswers.push_back(QString());
    EXPECT_FALSE(PrintReceiptText(nullptr, dialogs, QStringLiteral("A\r\n"), QString(), 1252, false));
}

TEST_F(ReceiptPrinterTest, APrinterThatFailsEndsWithPrinterNotFoundTranslatedOnlyWhenAsked)
{
    AppTranslator().LoadLanguageFile(QStringLiteral(QUENVALE_RUNTIME_DIR), QStringLiteral("Turkish.lang.txt"), 1055);
    const QString unreachable = pdf(QStringLiteral("no such folder/receipt.pdf"));
    for (const bool translate : {false, true}) {
        dialogs.printAnswers.push_back(unreachable);
        try {
            PrintReceiptText(nullptr, dialogs, QStringLiteral("A\r\n"), QString(), 1254, translate);
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), translate ? QStringLiteral("Yazıcı bulunamadı!") : QStringLiteral("Printer not found!"));
        }
    }
    AppTranslator().LoadLanguageFile(QStringLiteral(QUENVALE_RUNTIME_DIR), QString(), 1033);
    EXPECT_FALSE(QFileInfo::exists(unreachable));
}

} // namespace

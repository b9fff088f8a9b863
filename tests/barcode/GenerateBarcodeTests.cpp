#include "barcode/ui/TGenerateBarcodeForm.h"

#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GenerateBarcodeTest : public ::testing::Test
{
protected:
    ScriptedDialogs dialogs;
    QTemporaryDir folder;

    // The window frees itself on close; the tests delete it themselves.
    std::unique_ptr<TGenerateBarcodeForm> makeForm(const QString& text = QString())
    {
        auto form = std::make_unique<TGenerateBarcodeForm>(dialogs, text);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        return form;
    }

    template <typename T>
    static T* child(QWidget& form, const char* name)
    {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

int width(int length, int narrow, int wide)
{
    return 1 + (length + 2) * (7 * narrow + 3 * wide);
}

TEST_F(GenerateBarcodeTest, ShowsCaptionsAndDrawsTheCallersBarcode)
{
    auto empty = makeForm();
    EXPECT_EQ(empty->windowTitle(), QStringLiteral("Generate Barcode"));
    EXPECT_TRUE(empty->picture().isNull());
    EXPECT_EQ(child<QCheckBox>(*empty, "CheckBox1")->text(), QStringLiteral("Include Readable Text"));
    EXPECT_EQ(child<QPushButton>(*empty, "BitBtn1")->text(), QStringLiteral("Export Image"));
    EXPECT_EQ(child<QPushButton>(*empty, "BitBtn2")->text(), QStringLiteral("Print Image"));
    EXPECT_EQ(child<QSpinBox>(*empty, "SpinEdit1")->value(), 1);
    EXPECT_EQ(child<QSpinBox>(*empty, "SpinEdit2")->value(), 2);
    EXPECT_EQ(child<QLabel>(*empty, "Label2")->buddy(), child<QSpinBox>(*empty, "SpinEdit1"));

    auto form = makeForm(QStringLiteral("4006381333931"));
    EXPECT_EQ(form->picture().size(), QSize(width(13, 1, 2), 21));
    EXPECT_EQ(child<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("4006381333931"));
    EXPECT_FALSE(child<QLabel>(*form, "Image1")->pixmap().isNull());
}

TEST_F(GenerateBarcodeTest, RedrawsOnEveryChangeOfTextWidthsAndReadableText)
{
    auto form = makeForm();
    auto* edit = child<QLineEdit>(*form, "Edit1");
    auto* narrow = child<QSpinBox>(*form, "SpinEdit1");
    auto* wide = child<QSpinBox>(*form, "SpinEdit2");

    QTest::keyClicks(edit, QStringLiteral("ab"));
    EXPECT_EQ(form->picture().size(), QSize(width(2, 1, 2), 21));
    wide->setValue(5);
    EXPECT_EQ(form->picture().size(), QSize(width(2, 1, 5), 51));
    narrow->setValue(2);
    EXPECT_EQ(form->picture().size(), QSize(width(2, 2, 5), 51));
    child<QCheckBox>(*form, "CheckBox1")->click();
    EXPECT_EQ(form->picture().size(), QSize(width(2, 2, 5), 65));

    // A spin box cleared by the user counts as its minimum.
    wide->selectAll();
    QTest::keyClick(wide, Qt::Key_Backspace);
    EXPECT_EQ(form->picture().size(), QSize(width(2, 2, 2), 35));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GenerateBarcodeTest, CharacterThatCannotBeEncodedKeepsThePreviousPicture)
{
    auto form = makeForm(QStringLiteral("AB"));
    const QImage before = form->picture();
    child<QLineEdit>(*form, "Edit1")->insert(QStringLiteral("\u00e9"));
    ASSERT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("\"\u00e9\" cannot be encoded!")});
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs.lastMessage()->buttons, int(Dialogs::Ok));
    EXPECT_EQ(form->picture(), before);
}

TEST_F(GenerateBarcodeTest, ExportWritesTheBitmapToTheChosenFile)
{
    auto form = makeForm(QStringLiteral("QV-1"));
    const QString path = folder.filePath(QStringLiteral("code.bmp"));
    dialogs.fileAnswers.push_back(path);
    child<QPushButton>(*form, "BitBtn1")->click();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.shown[0].file.filter, QStringLiteral("Bitmap (*.bmp)|*.bmp"));
    EXPECT_EQ(dialogs.shown[0].file.defaultSuffix, QStringLiteral("bmp"));
    EXPECT_FALSE(dialogs.shown[0].file.confirmOverwrite);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(2) == "BM");
    const QImage saved(path);
    ASSERT_EQ(saved.size(), form->picture().size());
    const QImage expected = form->picture().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(GenerateBarcodeTest, CancelledExportOrNothingDrawnWritesNoFile)
{
    auto form = makeForm(QStringLiteral("QV-1"));
    child<QPushButton>(*form, "BitBtn1")->click(); // no answer queued: cancelled

    auto empty = makeForm();
    dialogs.fileAnswers.push_back(folder.filePath(QStringLiteral("empty.bmp")));
    child<QPushButton>(*empty, "BitBtn1")->click();

    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(GenerateBarcodeTest, PrintsOnThePrinterChosen)
{
    auto form = makeForm(QStringLiteral("QV-1"));
    const QString pdf = folder.filePath(QStringLiteral("barcode.pdf"));
    dialogs.printAnswers.push_back(pdf);
    child<QPushButton>(*form, "BitBtn2")->click();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    child<QPushButton>(*form, "BitBtn2")->click(); // cancelled: nothing printed, no message
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

} // namespace

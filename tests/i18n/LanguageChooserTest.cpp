#include "i18n/ui/TTranslateForm.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

void writeLanguageFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QComboBox& box)
{
    QStringList entries;
    for (int i = 0; i < box.count(); ++i)
        entries << box.itemText(i);
    return entries;
}

} // namespace

TEST(LanguageEntries, EnglishAndTheFileNamesSortedWithoutRegardToCase)
{
    EXPECT_EQ(LanguageEntries({}), QStringList{"English"});
    EXPECT_EQ(LanguageEntries({"Turkish.lang.txt", "German.lang.txt", "albanian.lang.txt", "Dutch.lang.txt"}),
              (QStringList{"albanian", "Dutch", "English", "German", "Turkish"}));
    // A name without ".lang.txt" gives an empty entry; repeats stay.
    EXPECT_EQ(LanguageEntries({"Oddlang.txt", "German.lang.txt", "German.lang.txt.lang.txt"}),
              (QStringList{"", "English", "German", "German"}));
}

TEST(LanguageFlags, EveryLanguageOfTheTableHasItsPictureAndOthersGetXx)
{
    const struct { const char* language; const char* flag; } table[] = {
        {"English", "flag"}, {"German", "de"}, {"French", "fr"}, {"Turkish", "tr"}, {"Albanian", "al"},
        {"Arabic", "sa"}, {"Bulgarian", "bg"}, {"ChineseSimplified", "cn"}, {"ChineseTraditional", "tw"},
        {"Czech", "cz"}, {"Dutch", "nl"}, {"Finnish", "fi"}, {"Greek", "gr"}, {"Hebrew", "il"},
        {"Hungarian", "hu"}, {"Italian", "it"}, {"Japanese", "jp"}, {"Korean", "kr"}, {"Persian", "ir"},
        {"Polish", "pl"}, {"PortugueseBrazil", "br"}, {"PortuguesePortugal", "pt"}, {"Russian", "ru"},
        {"Slovenian", "si"}, {"Spanish", "es"}, {"Swedish", "se"}, {"Ukrainian", "ua"}, {"Vietnamese", "vi"},
        {"Klingon", "xx"}, {"german", "xx"}, {"", "xx"}};
    for (const auto& row : table) {
        const QString language = QString::fromLatin1(row.language);
        EXPECT_EQ(FlagNameOf(language), QString::fromLatin1(row.flag)) << row.language;
        const QPixmap flag = LanguageFlag(language);
        EXPECT_EQ(flag.size(), QSize(16, 16)) << row.language;
    }
    // The unused "us" picture ships as well.
    EXPECT_EQ(QPixmap(QStringLiteral(":/flags/us.png")).size(), QSize(16, 16));
    // Different flags are different pictures.
    EXPECT_NE(LanguageFlag("German").toImage(), LanguageFlag("French").toImage());
    EXPECT_EQ(LanguageFlag("Klingon").toImage(), QPixmap(QStringLiteral(":/flags/xx.png")).toImage());
}

TEST(TranslatorCredits, OneNameALineFromTheCreditEntry)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    writeLanguageFile(folder + "Klingon.lang.txt",
                      "{Cancel}Qil\r\n{INFO:Translated By} Worf ,Kahless,  B'Elanna \r\n{INFO:Translated By}Later\r\n");
    writeLanguageFile(folder + "Esperanto.lang.txt", "{Cancel}Nuligi\n");
    writeLanguageFile(folder + "Vulcan.lang.txt", "{INFO:Translated By}\n");
    const struct { const char* entry; QStringList credits; } cases[] = {
        {"English", {"Zelkora"}},
        {"Klingon", {"Worf", "Kahless", "B'Elanna"}},
        {"Esperanto", {"INFO:Translated By"}},
        {"Vulcan", {""}},
        {"Missing", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslatorCredits(folder, QString::fromLatin1(c.entry)), c.credits) << c.entry;
}

class LanguageChooserTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        writeLanguageFile(programFolder() + "Languages/Klingon.lang.txt",
                          "{INFO:Translated By}Worf, Kahless\r\n{OK}luq\r\n");
        writeLanguageFile(programFolder() + "Languages/Esperanto.lang.txt", "{OK}Bone\r\n");
    }

    // The script drives the next chooser shown.
    void onNextChooser(const std::function<void(TTranslateForm&)>& script)
    {
        dialogs.modalScripts.push_back([script](QDialog& dialog) {
            auto* chooser = dynamic_cast<TTranslateForm*>(&dialog);
            EXPECT_NE(chooser, nullptr);
            if (chooser)
                script(*chooser);
            return dialog.result();
        });
    }

    // Shows the chooser on the context; the script drives it.
    void choose(const std::function<void(TTranslateForm&)>& script)
    {
        onNextChooser(script);
        TTranslateForm::showModalFor(*context);
    }

    static QComboBox* languages(const TTranslateForm& chooser)
    {
        return FindControl<QComboBox>(chooser, "ComboBox1");
    }
    static QPlainTextEdit* credits(const TTranslateForm& chooser)
    {
        return FindControl<QPlainTextEdit>(chooser, "Memo1");
    }
    static QPushButton* okButton(const TTranslateForm& chooser)
    {
        return FindControl<QPushButton>(chooser, "Button1");
    }
};

TEST_F(LanguageChooserTest, ListsTheLanguagesWithTheirFlagsAndCredits)
{
    start();
    onNextChooser([](TTranslateForm& chooser) {
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Language"));
        EXPECT_EQ(entriesOf(*languages(chooser)),
                  (QStringList{"English", "Esperanto", "German", "Klingon", "Turkish"}));
        EXPECT_FALSE(languages(chooser)->isEditable());
        EXPECT_EQ(languages(chooser)->currentText(), QStringLiteral("English"));
        EXPECT_EQ(credits(chooser)->toPlainText(), QStringLiteral("Zelkora"));
        EXPECT_TRUE(credits(chooser)->isReadOnly());
        for (int i = 0; i < languages(chooser)->count(); ++i)
            EXPECT_FALSE(languages(chooser)->itemIcon(i).isNull()) << i;

        // An entry is drawn as its flag at the left and its name after it.
        const int klingon = languages(chooser)->findText(QStringLiteral("Klingon"));
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 120, 16);
        option.palette = chooser.palette();
        option.font = chooser.font();
        option.fontMetrics = QFontMetrics(chooser.font());
        QImage drawn(120, 16, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::magenta);
        QPainter painter(&drawn);
        languages(chooser)->itemDelegate()->paint(&painter, option, languages(chooser)->model()->index(klingon, 0));
        painter.end();
        QImage expectedFlag(16, 16, QImage::Format_ARGB32_Premultiplied);
        expectedFlag.fill(option.palette.color(QPalette::Base));
        QPainter flagPainter(&expectedFlag);
        flagPainter.drawPixmap(0, 0, QPixmap(QStringLiteral(":/flags/xx.png")));
        flagPainter.end();
        EXPECT_EQ(drawn.copy(0, 0, 16, 16), expectedFlag);
        int textPixels = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 16; x < 120; ++x)
                textPixels += drawn.pixelColor(x, y) != option.palette.color(QPalette::Base);
        EXPECT_GT(textPixels, 20);

        languages(chooser)->setCurrentText(QStringLiteral("Klingon"));
        EXPECT_EQ(credits(chooser)->toPlainText(), QStringLiteral("Worf\nKahless"));
        languages(chooser)->setCurrentText(QStringLiteral("Esperanto"));
        EXPECT_EQ(credits(chooser)->toPlainText(), QStringLiteral("INFO:Translated By"));
        languages(chooser)->setCurrentText(QStringLiteral("German"));
        EXPECT_EQ(credits(chooser)->toPlainText(), QStringLiteral("Quenvale Team"));

        // The contribution link opens the maker's page.
        EXPECT_EQ(FindControl<QLabel>(chooser, "LinkLabel1")->toolTip(), TranslationContributionUrl());
        emit FindControl<QLabel>(chooser, "LinkLabel1")->linkActivated(TranslationContributionUrl());
    });
    form->action(QStringLiteral("Language1"))->trigger();
    EXPECT_EQ(env.openedUrls, QStringList{TranslationContributionUrl()});
    EXPECT_EQ(dialogs.modalWindows, QStringList{"TranslateForm"});
}

TEST_F(LanguageChooserTest, OkWithoutAChangeClosesWithoutAQuestion)
{
    writeSettings({QStringLiteral("LanguageFile=Turkish.lang.txt")});
    startContext();
    const QByteArray settingsBefore = readBytes(dataFile("settings.ini"));
    choose([](TTranslateForm& chooser) {
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Dil"));
        EXPECT_EQ(languages(chooser)->currentText(), QStringLiteral("Turkish"));
        EXPECT_EQ(chooser.initialLanguage(), QStringLiteral("Turkish"));
        // Away and back again is no change.
        languages(chooser)->setCurrentText(QStringLiteral("German"));
        languages(chooser)->setCurrentText(QStringLiteral("Turkish"));
        QTest::mouseClick(okButton(chooser), Qt::LeftButton);
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_EQ(readBytes(dataFile("settings.ini")), settingsBefore);
    EXPECT_TRUE(env.startedPrograms.isEmpty());
    EXPECT_EQ(env.quitRequests, 0);
}

TEST_F(LanguageChooserTest, AChangedLanguageIsStoredAndTheProgramRestartsOnYes)
{
    startContext();
    choose([this](TTranslateForm& chooser) {
        languages(chooser)->setCurrentText(QStringLiteral("German"));
        dialogs.messageAnswers.push_back(Dialogs::No);
        QTest::mouseClick(okButton(chooser), Qt::LeftButton);
        // "No": nothing stored, the window stays open.
        EXPECT_EQ(chooser.result(), 0);
        EXPECT_FALSE(QFile::exists(dataFile("settings.ini")));
        EXPECT_TRUE(env.startedPrograms.isEmpty());

        dialogs.messageAnswers.push_back(Dialogs::Yes);
        QTest::mouseClick(okButton(chooser), Qt::LeftButton);
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
    });
    ASSERT_EQ(dialogs.messageTexts(), (QStringList{"Restart Application?", "Restart Application?"}));
    const auto* question = dialogs.lastMessage();
    EXPECT_EQ(question->caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(question->icon, Dialogs::Icon::Question);
    EXPECT_EQ(question->buttons, Dialogs::Yes | Dialogs::No);

    EXPECT_TRUE(readBytes(dataFile("settings.ini")).contains("LanguageFile=German.lang.txt\r\n"));
    ASSERT_EQ(env.startedPrograms.size(), 1);
    EXPECT_EQ(env.startedPrograms.first(), QStringLiteral("/bin/sh ") + dataFile("start.sh"));
    EXPECT_TRUE(QFile::exists(dataFile("start.sh")));
    EXPECT_EQ(env.quitRequests, 1);
}

TEST_F(LanguageChooserTest, TheRestartQuestionCarriesTheButtonCaptionsOfTheLanguageInForce)
{
    writeSettings({"LanguageFile=Turkish.lang.txt"});
    startContext();
    choose([this](TTranslateForm& chooser) {
        languages(chooser)->setCurrentText(QStringLiteral("German"));
        dialogs.messageAnswers.push_back(Dialogs::No);
        QTest::mouseClick(okButton(chooser), Qt::LeftButton);
        chooser.reject();
    });
    const auto* question = dialogs.lastMessage();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->caption, QStringLiteral("Onay"));
    EXPECT_EQ(question->buttonCaptions,
              (QMap<int, QString>{{Dialogs::Yes, QStringLiteral("Evet")}, {Dialogs::No, QStringLiteral("Hayır")}}));
}

TEST_F(LanguageChooserTest, ChoosingEnglishStoresItsFileName)
{
    writeSettings({QStringLiteral("LanguageFile=Klingon.lang.txt")});
    startContext();
    choose([this](TTranslateForm& chooser) {
        EXPECT_EQ(languages(chooser)->currentText(), QStringLiteral("Klingon"));
        languages(chooser)->setCurrentText(QStringLiteral("English"));
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        QTest::mouseClick(okButton(chooser), Qt::LeftButton);
    });
    EXPECT_TRUE(readBytes(dataFile("settings.ini")).contains("LanguageFile=English.lang.txt\r\n"));
    EXPECT_EQ(env.quitRequests, 1);
}

#include "i18n/Translator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An executable folder of its own, with a Languages folder the test fills.
class LanguageFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_exeFolder = m_dir.path() + QStringLiteral("/");
        ASSERT_TRUE(QDir(m_exeFolder).mkpath(QStringLiteral("Languages")));
    }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_exeFolder + QStringLiteral("Languages/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir m_dir;
    QString m_exeFolder;
};

TEST_F(LanguageFolder, LookupRulesOfTheLoadedFile)
{
    // A byte-order mark, and CR LF, LF and CR line ends mixed.
    write(QStringLiteral("Turkish.lang.txt"),
          "\xEF\xBB\xBF{Save}Kaydet\r\n"
          "{Cancel}\n"
          "{Save}Second\r"
          "{save}lower\r\n"
          "{a}b}X\r\n"
          "Open}Ac\r\n"
          " {Open}Ac\r\n"
          "{Print}  Yazd\xC4\xB1r  \r\n"
          "{Total:}Toplam:\r\n");
    Translator translator;
    translator.LoadLanguageFile(m_exeFolder, QStringLiteral("Turkish.lang.txt"), 1033);

    const struct {
        const char* english;
        const char* expected;
    } cases[] = {
        {"Save", "Kaydet"},          // the first matching line wins
        {"save", "lower"},           // keys are compared with letter case
        {"SAVE", "SAVE"},
        {"Cancel", "Cancel"},        // an empty translation leaves the English text
        {"a}b", "b}X"},              // taken after the first '}' of the line
        {"Open", "Open"},            // lines that do not start with '{' never match
        {"Print", "  Yazd\xC4\xB1r  "}, // not trimmed
        {"Total", "Total"},          // "{Total:}" is not the key of "Total"
        {"Total:", "Toplam:"},
        {"Missing", "Missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translator.TranslateText(QString::fromUtf8(c.english)), QString::fromUtf8(c.expected)) << c.english;
    EXPECT_EQ(translator.currentLanguageName(), QStringLiteral("Turkish"));
}

TEST_F(LanguageFolder, NothingLoadedMeansEnglish)
{
    EXPECT_EQ(Translator().TranslateText(QStringLiteral("Cancel")), QStringLiteral("Cancel"));
    EXPECT_EQ(TranslateText("Cancel"), QStringLiteral("Cancel")); // the program's translator before start-up

    QTemporaryDir noLanguages;
    write(QStringLiteral("Turkish.lang.txt"), "{Cancel}\xC4\xB0ptal\r\n");
    Translator translator;
    translator.LoadLanguageFile(noLanguages.path(), QStringLiteral("Turkish.lang.txt"), 1055);
    EXPECT_TRUE(translator.languageList().isEmpty());
    EXPECT_TRUE(translator.loadedFilePath().isEmpty());
    EXPECT_EQ(translator.TranslateText(QStringLiteral("Cancel")), QStringLiteral("Cancel"));
}

struct ChoiceCase
{
    const char* what;
    const char* chosenName;
    int languageId;
    QByteArray csv; // empty: no LanguageCodes.csv
    const char* expectedFile; // empty: nothing loaded
};

TEST_F(LanguageFolder, ChoiceOfTheFile)
{
    write(QStringLiteral("Turkish.lang.txt"), "{Cancel}\xC4\xB0ptal\r\n");
    write(QStringLiteral("German.lang.txt"), "{Cancel}Abbrechen\r\n");

    const ChoiceCase cases[] = {
        {"chosen file", "German.lang.txt", 1055, "1055,Turkish.lang.txt\r\n", "German.lang.txt"},
        {"chosen file missing, no fall-back to the CSV", "French.lang.txt", 1055, "1055,Turkish.lang.txt\r\n", ""},
        {"blank name picks by language id", "  ", 1055, "1031,German.lang.txt\r\n1055,Turkish.lang.txt\r\n",
         "Turkish.lang.txt"},
        {"CSV name matched without letter case", "", 1055, "1055,tURKISH.LANG.TXT\r\n", "Turkish.lang.txt"},
        {"spaces around the fields", "", 1031, "  1031 ,  German.lang.txt  \r\n", "German.lang.txt"},
        {"lines without a comma are skipped", "", 1055, "1055 Turkish.lang.txt\r\n1055,German.lang.txt\r\n",
         "German.lang.txt"},
        {"the first matching line wins", "", 1055, "1055,German.lang.txt\n1055,Turkish.lang.txt\n",
         "German.lang.txt"},
        {"id not in the CSV", "", 1036, "1055,Turkish.lang.txt\r\n", ""},
        {"CSV names a file that is not shipped", "", 1055, "1055,Klingon.lang.txt\r\n", ""},
        {"no CSV", "", 1055, "", ""},
    };
    for (const ChoiceCase& c : cases) {
        QFile::remove(m_exeFolder + QStringLiteral("Languages/LanguageCodes.csv"));
        if (!c.csv.isEmpty())
            write(QStringLiteral("LanguageCodes.csv"), c.csv);
        Translator translator;
        translator.LoadLanguageFile(m_exeFolder, QString::fromUtf8(c.chosenName), c.languageId);
        const QString expected = QString::fromUtf8(c.expectedFile);
        if (expected.isEmpty()) {
            EXPECT_TRUE(translator.loadedFilePath().isEmpty()) << c.what;
            EXPECT_TRUE(translator.currentLanguageName().isEmpty()) << c.what;
            EXPECT_EQ(translator.TranslateText(QStringLiteral("Cancel")), QStringLiteral("Cancel")) << c.what;
        } else {
            EXPECT_EQ(translator.loadedFilePath(), m_exeFolder + QStringLiteral("Languages/") + expected) << c.what;
            EXPECT_EQ(translator.currentLanguageName(), expected.section(QLatin1Char('.'), 0, 0)) << c.what;
            EXPECT_NE(translator.TranslateText(QStringLiteral("Cancel")), QStringLiteral("Cancel")) << c.what;
        }
    }
}

TEST_F(LanguageFolder, CsvIsReadInTheAnsiCodePageUnlessItHasAByteOrderMark)
{
    const QString name = QStringLiteral("\u015Eark\u0131"); // letters that Windows-1252 does not have
    write(name + QStringLiteral(".lang.txt"), "{Cancel}\xC4\xB0ptal\r\n");

    write(QStringLiteral("LanguageCodes.csv"), "1055,\xDE" "ark\xFD.lang.txt\r\n"); // Windows-1254 bytes
    Translator ansi;
    ansi.LoadLanguageFile(m_exeFolder, QString(), 1055, 1254);
    EXPECT_EQ(ansi.currentLanguageName(), name);

    write(QStringLiteral("LanguageCodes.csv"), "\xEF\xBB\xBF" "1055,\xC5\x9E" "ark\xC4\xB1.lang.txt\r\n");
    Translator bom;
    bom.LoadLanguageFile(m_exeFolder, QString(), 1055, 1254);
    EXPECT_EQ(bom.currentLanguageName(), name);
}

TEST_F(LanguageFolder, LanguageListAndNamesWithoutTheUsualSuffix)
{
    write(QStringLiteral("Oldlang.txt"), "{Cancel}Vazge\xC3\xA7\r\n");
    write(QStringLiteral("German.lang.txt"), "{Cancel}Abbrechen\r\n");
    write(QStringLiteral("notes.txt"), "{Cancel}x\r\n");
    write(QStringLiteral("LanguageCodes.csv"), "1031,German.lang.txt\r\n");
    ASSERT_TRUE(QDir(m_exeFolder).mkpath(QStringLiteral("Languages/Folder.lang.txt")));

    Translator translator;
    translator.LoadLanguageFile(m_exeFolder, QStringLiteral("Oldlang.txt"), 1031);
    QStringList list = translator.languageList();
    list.sort();
    EXPECT_EQ(list, (QStringList{QStringLiteral("German.lang.txt"), QStringLiteral("Oldlang.txt")}));
    // Matches *lang.txt, so it loads, but it names no language.
    EXPECT_TRUE(translator.currentLanguageName().isEmpty());
    EXPECT_EQ(translator.TranslateText(QStringLiteral("Cancel")), QString::fromUtf8("Vazge\xC3\xA7"));

    Translator folder;
    folder.LoadLanguageFile(m_exeFolder, QStringLiteral("Folder.lang.txt"), 1031);
    EXPECT_TRUE(folder.loadedFilePath().isEmpty());
}

TEST_F(LanguageFolder, ABadByteCostsOnlyItsOwnCharacter)
{
    write(QStringLiteral("German.lang.txt"), "{Save}Speich\xFF\r\n{Cancel}Abbrechen\r\n");
    Translator translator;
    translator.LoadLanguageFile(m_exeFolder, QStringLiteral("German.lang.txt"), 1031);
    EXPECT_EQ(translator.TranslateText(QStringLiteral("Cancel")), QStringLiteral("Abbrechen"));
    EXPECT_EQ(translator.TranslateText(QStringLiteral("Save")), QStringLiteral("Speich\uFFFD"));
}

} // namespace

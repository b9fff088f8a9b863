#include "i18n/Translator.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

// The shipped language data against the texts the program translates: a text passed to TranslateText that is
// not listed, or a listed text that a shipped language lacks, fails here rather than showing up in English.

namespace {

const QString kSourceDir = QStringLiteral(QUENVALE_SOURCE_DIR);

QStringList readUtf8Lines(const QString& path)
{
    QStringList lines;
    QString error;
    EXPECT_TRUE(LoadLinesFromFile(path, TextEncoding::Utf8, 1252, lines, &error)) << path.toStdString() << ": "
                                                                                 << error.toStdString();
    return lines;
}

QStringList englishTexts()
{
    return readUtf8Lines(kSourceDir + QStringLiteral("/src/i18n/EnglishTexts.txt"));
}

QString unescapeCString(const QString& literal)
{
    QString out;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        QChar c = literal.at(i);
        if (c == QLatin1Char('\\') && i + 1 < literal.size()) {
            const QChar next = literal.at(++i);
            switch (next.unicode()) {
            case 'n': c = QLatin1Char('\n'); break;
            case 'r': c = QLatin1Char('\r'); break;
            case 't': c = QLatin1Char('\t'); break;
            default: c = next; break; // \" \\ \'
            }
        }
        out += c;
    }
    return out;
}

// Every string literal passed straight to TranslateText, plain, u"..." or inside QStringLiteral.
QStringList translatedLiterals(const QString& source)
{
    static const QRegularExpression call(
        QStringLiteral(R"re(\bTranslateText\(\s*(?:QStringLiteral\(\s*)?(?:u8|u)?"((?:[^"\\\n]|\\.)*)")re"));
    QStringList found;
    for (auto it = call.globalMatch(source); it.hasNext();)
        found << unescapeCString(it.next().captured(1));
    return found;
}

TEST(TextCoverage, ScannerFindsTheLiteralsOfEveryCallForm)
{
    const QString source = QStringLiteral(
        "a = TranslateText(\"Plain\");\n"
        "b = TranslateText( QStringLiteral(\"Wrapped\") ) + TranslateText(u\"Wide\");\n"
        "c = TranslateText(\n        \"Next line\");\n"
        "d = TranslateText(\"Say \\\"hi\\\"\");\n"
        "e = TranslateText(name); f = MyTranslateText(\"Other\");\n");
    EXPECT_EQ(translatedLiterals(source), (QStringList{QStringLiteral("Plain"), QStringLiteral("Wrapped"),
                                                       QStringLiteral("Wide"), QStringLiteral("Next line"),
                                                       QStringLiteral("Say \"hi\"")}));
}

TEST(TextCoverage, EnglishTextListHasNoEmptyOrRepeatedLines)
{
    const QStringList texts = englishTexts();
    ASSERT_FALSE(texts.isEmpty());
    QSet<QString> seen;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        EXPECT_FALSE(texts[i].isEmpty()) << "empty line " << i + 1;
        EXPECT_FALSE(seen.contains(texts[i])) << "listed twice: " << texts[i].toStdString();
        seen.insert(texts[i]);
    }
}

TEST(TextCoverage, EveryTranslatedLiteralInTheSourcesIsListed)
{
    const QStringList listed = englishTexts();
    const QSet<QString> known(listed.begin(), listed.end());
    const QString srcDir = kSourceDir + QStringLiteral("/src");
    ASSERT_TRUE(QDir(srcDir).exists()) << srcDir.toStdString();

    int filesScanned = 0;
    QDirIterator it(srcDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        ++filesScanned;
        for (const QString& text : translatedLiterals(QString::fromUtf8(file.readAll()))) {
            EXPECT_TRUE(known.contains(text))
                << "TranslateText(\"" << text.toStdString() << "\") in "
                << QDir(kSourceDir).relativeFilePath(path).toStdString() << " is not listed in src/i18n/EnglishTexts.txt";
        }
    }
    EXPECT_GT(filesScanned, 0);
}

TEST(TextCoverage, EveryShippedLanguageTranslatesEveryListedText)
{
    const QStringList texts = englishTexts();
    const QDir languages(kSourceDir + QStringLiteral("/data/Languages"));
    const QStringList files = languages.entryList({QStringLiteral("*lang.txt")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());

    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QStringList lines = readUtf8Lines(languages.filePath(name));
        EXPECT_FALSE(Translator::LookupIn(lines, QStringLiteral("INFO:Translated By")).trimmed().isEmpty());
        for (const QString& english : texts) {
            EXPECT_FALSE(Translator::LookupIn(lines, english).isEmpty())
                << "no translation of \"" << english.toStdString() << "\"";
        }
        // Only the first line of a key counts, so a second one with other words is a correction nobody sees.
        QHash<QString, QString> firstTranslation;
        for (const QString& line : lines) {
            const qsizetype close = line.indexOf(QLatin1Char('}'));
            if (!line.startsWith(QLatin1Char('{')) || close < 0)
                continue;
            const QString key = line.left(close + 1);
            const QString translation = line.mid(close + 1);
            const auto known = firstTranslation.constFind(key);
            if (known == firstTranslation.cend())
                firstTranslation.insert(key, translation);
            else
                EXPECT_EQ(*known, translation) << key.toStdString() << " is translated twice, differently";
        }
    }
}

TEST(TextCoverage, LanguageCodesNameShippedFiles)
{
    const QDir languages(kSourceDir + QStringLiteral("/data/Languages"));
    const QStringList lines = readUtf8Lines(languages.filePath(QStringLiteral("LanguageCodes.csv")));
    ASSERT_FALSE(lines.isEmpty());
    QSet<QString> ids;
    for (const QString& line : lines) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        ASSERT_GE(comma, 0) << line.toStdString();
        const QString id = line.left(comma).trimmed();
        const QString file = line.mid(comma + 1).trimmed();
        bool isNumber = false;
        id.toInt(&isNumber);
        EXPECT_TRUE(isNumber) << line.toStdString();
        EXPECT_FALSE(ids.contains(id)) << "id listed twice: " << id.toStdString();
        ids.insert(id);
        EXPECT_TRUE(languages.exists(file)) << line.toStdString();
    }
}

} // namespace

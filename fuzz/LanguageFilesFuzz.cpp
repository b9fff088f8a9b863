// A Languages folder whose LanguageCodes.csv and language file hold the input, loaded as at start.
#include "FuzzSupport.h"

#include "i18n/Translator.h"
#include "platform/TextFile.h"

#include <QDir>

namespace {

struct Folder
{
    QString executable;
    QString languages;
};

const Folder& folder()
{
    static const Folder f = [] {
        Folder made;
        made.executable = fuzz::TempFolder() + QStringLiteral("/exe");
        made.languages = made.executable + QStringLiteral("/Languages/");
        if (!QDir().mkpath(made.languages))
            fuzz::Fail("the Languages folder", __FILE__, __LINE__);
        fuzz::WriteFile(made.languages + QStringLiteral("Other.lang.txt"), "{Cancel}Abbrechen\r\n");
        return made;
    }();
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const Folder& f = folder();
    fuzz::WriteFile(f.languages + QStringLiteral("LanguageCodes.csv"), bytes);
    fuzz::WriteFile(f.languages + QStringLiteral("Fuzz.lang.txt"), bytes);

    // The file named by the CSV for a few language ids and ANSI code pages.
    for (const int codePage : {1252, 1254, 932}) {
        for (const int id : {1055, 0}) {
            Translator translator;
            translator.LoadLanguageFile(f.executable, QString(), id, codePage);
            FUZZ_CHECK(translator.languageList().size() == 2);
            translator.TranslateText(QStringLiteral("Cancel"));
        }
    }

    // The file chosen by name: always loaded; a line "{key}text" is the translation of key when it is the
    // first line starting with "{key}".
    Translator translator;
    translator.LoadLanguageFile(f.executable, QStringLiteral("Fuzz.lang.txt"), 1055);
    FUZZ_CHECK(translator.currentLanguageName() == QLatin1String("Fuzz"));

    QStringList lines;
    if (!LoadLinesFromFile(f.languages + QStringLiteral("Fuzz.lang.txt"), TextEncoding::Utf8, 1252, lines))
        return 0; // not valid UTF-8: read leniently, no exact expectation
    int checked = 0;
    for (const QString& line : std::as_const(lines)) {
        const qsizetype close = line.indexOf(QLatin1Char('}'));
        if (!line.startsWith(QLatin1Char('{')) || close < 0)
            continue;
        const QString key = line.mid(1, close - 1);
        const QString prefix = QLatin1Char('{') + key + QLatin1Char('}');
        QString rest;
        for (const QString& other : std::as_const(lines)) {
            if (other.startsWith(prefix)) {
                rest = other.mid(prefix.size());
                break;
            }
        }
        FUZZ_CHECK(Translator::LookupIn(lines, key) == rest);
        FUZZ_CHECK(translator.TranslateText(key) == (rest.isEmpty() ? key : rest));
        if (++checked == 20)
            break;
    }
    return 0;
}

#include "i18n/Translator.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A language file is UTF-8. A stray byte that is not valid UTF-8 costs only the character it stands for, not
// the whole language.
bool readLanguageLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QString text;
    if (!DecodeText(bytes, TextEncoding::Utf8, 1252, text))
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    lines = SplitLines(text);
    return true;
}

} // namespace

Translator& AppTranslator()
{
    static Translator translator;
    return translator;
}

void Translator::LoadLanguageFile(const QString& executableFolder, const QString& chosenName, int uiLanguageId,
                                  int ansiCodePage)
{
    m_languagesFolder = executableFolder;
    if (!m_languagesFolder.endsWith(QLatin1Char('/')))
        m_languagesFolder += QLatin1Char('/');
    m_languagesFolder += QStringLiteral("Languages/");
    m_languageList.clear();
    m_currentLanguageName.clear();
    m_loadedFilePath.clear();
    m_lines.clear();

    const QDir folder(m_languagesFolder);
    if (!folder.exists())
        return;
    const QFileInfoList entries = folder.entryInfoList({QStringLiteral("*lang.txt")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries)
        m_languageList << entry.fileName();

    QString chosen = chosenName.trimmed().isEmpty() ? QString() : chosenName;
    if (chosen.isEmpty()) {
        const QString csvPath = m_languagesFolder + QStringLiteral("LanguageCodes.csv");
        if (QFileInfo::exists(csvPath)) {
            const QString wantedId = QString::number(uiLanguageId);
            QStringList csv;
            LoadLinesFromFile(csvPath, TextEncoding::Ansi, ansiCodePage, csv);
            QString wantedFile;
            for (const QString& line : std::as_const(csv)) {
                const qsizetype comma = line.indexOf(QLatin1Char(','));
                if (comma < 0)
                    continue;
                if (line.left(comma).trimmed() == wantedId) {
                    wantedFile = line.mid(comma + 1).trimmed();
                    break;
                }
            }
            for (const QString& name : std::as_const(m_languageList)) {
                if (!wantedFile.isEmpty() && name.compare(wantedFile, Qt::CaseInsensitive) == 0) {
                    chosen = name;
                    break;
                }
            }
        }
    }
    if (chosen.isEmpty())
        return;
    const QString path = m_languagesFolder + chosen;
    if (!QFileInfo(path).isFile())
        return;

    // A file that cannot be read counts as no file, so no language is named that the windows do not show.
    if (!readLanguageLines(path, m_lines))
        return;
    const qsizetype suffix = chosen.indexOf(QStringLiteral(".lang.txt"));
    m_currentLanguageName = suffix < 0 ? QString() : chosen.left(suffix);
    m_loadedFilePath = path;
}

QString Translator::LookupIn(const QStringList& lines, const QString& english)
{
    const QString key = QLatin1Char('{') + english + QLatin1Char('}');
    for (const QString& line : lines) {
        if (line.startsWith(key))
            return line.mid(line.indexOf(QLatin1Char('}')) + 1);
    }
    return {};
}

QString Translator::TranslateText(const QString& english) const
{
    if (m_loadedFilePath.isEmpty())
        return english;
    const QString translation = LookupIn(m_lines, english);
    return translation.isEmpty() ? english : translation;
}

#pragma once

#include <QString>
#include <QStringList>

// The loaded language file and the lookup that every visible English text passes through.
class Translator
{
public:
    // Loads from <executableFolder>/Languages. An empty chosen name picks the file that LanguageCodes.csv maps
    // the user's language id to; the CSV is read in the given ANSI code page unless it starts with a byte-order
    // mark. A missing folder or file leaves the program in English.
    void LoadLanguageFile(const QString& executableFolder, const QString& chosenName, int uiLanguageId,
                          int ansiCodePage = 1252);

    QString TranslateText(const QString& english) const;

    QString languagesFolder() const { return m_languagesFolder; } // ends in '/'
    QStringList languageList() const { return m_languageList; }   // file names of *lang.txt
    QString currentLanguageName() const { return m_currentLanguageName; }
    QString loadedFilePath() const { return m_loadedFilePath; }

    // The text after the first '}' of the first line that starts with "{key}", or an empty text.
    static QString LookupIn(const QStringList& lines, const QString& english);

private:
    QString m_languagesFolder;
    QStringList m_languageList;
    QString m_currentLanguageName;
    QString m_loadedFilePath;
    QStringList m_lines;
};

// The program's one translator. Set up once at start by the main window; before that every text is English.
Translator& AppTranslator();
inline QString TranslateText(const QString& english) { return AppTranslator().TranslateText(english); }
inline QString TranslateText(const char* english) { return AppTranslator().TranslateText(QString::fromUtf8(english)); }

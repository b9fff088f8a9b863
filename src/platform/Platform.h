#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// Small stand-ins for Windows services; each one is a single function.
namespace platform {

// True when a new file "chk.tmp" could be created (exclusively) in the folder. The probe leaves nothing behind,
// even when the program is killed meanwhile: where the file system allows, it is a file without a name.
bool IsFolderWritable(const QString& folder);

// The folder of settings.ini, data.db, PrintTemplate.txt and the restart script, ending in '/':
// the executable's folder when writable, else <appData>/<company>/<product>/ (created when missing).
QString ChooseDataFolder(const QString& executableFolder, const QString& appDataFolder, const QString& company,
                         const QString& product);

// ';' when the locale writes decimals with a comma, ',' otherwise.
QChar ListSeparatorFor(const QLocale& locale);
// Windows language identifier of a locale (tr_TR -> 1055, en_US -> 1033 ...); 1033 when unknown.
int WindowsLanguageIdFor(const QLocale& locale);
// Windows ANSI code page of a locale's language (1250/1251/1253/1254 ...; 1252 otherwise).
int AnsiCodePageFor(const QLocale& locale);
// The locale's short date format and its time format with seconds, without a time zone.
QString ShortDateFormatFor(const QLocale& locale);
QString LongTimeFormatFor(const QLocale& locale);

// Text in a Windows code page, through iconv. Bytes that cannot be decoded become U+FFFD; characters that
// cannot be encoded become '?'.
QString DecodeAnsi(const QByteArray& bytes, int codePage);
QByteArray EncodeAnsi(const QString& text, int codePage);

// Held for the life of the process; a second copy of the program starts normally.
class NamedMutex
{
public:
    explicit NamedMutex(const QString& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    bool isHeld() const;

private:
    void* m_handle = nullptr;
    QByteArray m_name;
};

// The restart script start.sh: comment lines (in the ANSI code page), a one-second pause and the executable's
// path quoted for the shell, written atomically. Returns the script's path, or an empty text when it could not
// be written.
QString WriteRestartScript(const QString& dataFolder, const QString& executablePath, int codePage);

} // namespace platform

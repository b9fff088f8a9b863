#include "platform/Platform.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <iconv.h>
#include <semaphore.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool IsFolderWritable(const QString& folder)
{
    if (folder.isEmpty()) // would probe the root folder
        return false;
    QString probe = folder;
    if (!probe.endsWith(QLatin1Char('/')))
        probe += QLatin1Char('/');
    probe += QStringLiteral("chk.tmp");
    const QByteArray path = QFile::encodeName(probe);
#ifdef O_TMPFILE
    // The probe must never outlive the program: a chk.tmp left by a crash between creating and removing it would
    // make every later start take the folder for read-only and move to another data folder. So the file is made
    // without a name where the file system can (an existing chk.tmp still counts against the folder).
    struct stat existing {};
    if (::lstat(path.constData(), &existing) == 0)
        return false;
    const QByteArray folderPath = QFile::encodeName(folder);
    const int unnamed = ::open(folderPath.constData(), O_TMPFILE | O_RDWR, 0600);
    if (unnamed >= 0) {
        ::close(unnamed);
        return true;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return false;
#endif
    const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(path.constData());
    return true;
}

QString ChooseDataFolder(const QString& executableFolder, const QString& appDataFolder, const QString& company,
                         const QString& product)
{
    if (IsFolderWritable(executableFolder)) {
        QString folder = executableFolder;
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return folder;
    }
    QDir root(appDataFolder);
    root.mkpath(company);          // failures are ignored: later file operations report their own
    root.mkpath(company + QLatin1Char('/') + product);
    QString folder = appDataFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + company + QLatin1Char('/') + product + QLatin1Char('/');
}

QChar ListSeparatorFor(const QLocale& locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
}

namespace {

struct LanguageIds
{
    QLocale::Language language;
    QLocale::Territory territory; // AnyTerritory: the language's primary id
    int id;
};

// Windows LANGIDs of the languages the program is likely to meet; the first entry of a language is its default.
const LanguageIds kLanguageIds[] = {
    {QLocale::English, QLocale::UnitedStates, 1033},   {QLocale::English, QLocale::UnitedKingdom, 2057},
    {QLocale::English, QLocale::AnyTerritory, 1033},   {QLocale::Turkish, QLocale::AnyTerritory, 1055},
    {QLocale::German, QLocale::Austria, 3079},         {QLocale::German, QLocale::Switzerland, 2055},
    {QLocale::German, QLocale::AnyTerritory, 1031},    {QLocale::French, QLocale::Canada, 3084},
    {QLocale::French, QLocale::AnyTerritory, 1036},    {QLocale::Spanish, QLocale::Mexico, 2058},
    {QLocale::Spanish, QLocale::AnyTerritory, 3082},   {QLocale::Italian, QLocale::AnyTerritory, 1040},
    {QLocale::Portuguese, QLocale::Brazil, 1046},      {QLocale::Portuguese, QLocale::AnyTerritory, 2070},
    {QLocale::Dutch, QLocale::AnyTerritory, 1043},     {QLocale::Russian, QLocale::AnyTerritory, 1049},
    {QLocale::Ukrainian, QLocale::AnyTerritory, 1058}, {QLocale::Polish, QLocale::AnyTerritory, 1045},
    {QLocale::Czech, QLocale::AnyTerritory, 1029},     {QLocale::Slovak, QLocale::AnyTerritory, 1051},
    {QLocale::Hungarian, QLocale::AnyTerritory, 1038}, {QLocale::Romanian, QLocale::AnyTerritory, 1048},
    {QLocale::Bulgarian, QLocale::AnyTerritory, 1026}, {QLocale::Greek, QLocale::AnyTerritory, 1032},
    {QLocale::Arabic, QLocale::AnyTerritory, 1025},    {QLocale::Hebrew, QLocale::AnyTerritory, 1037},
    {QLocale::Persian, QLocale::AnyTerritory, 1065},   {QLocale::Azerbaijani, QLocale::AnyTerritory, 1068},
    {QLocale::Swedish, QLocale::AnyTerritory, 1053},   {QLocale::Danish, QLocale::AnyTerritory, 1030},
    {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 1044}, {QLocale::Finnish, QLocale::AnyTerritory, 1035},
    {QLocale::Japanese, QLocale::AnyTerritory, 1041},  {QLocale::Korean, QLocale::AnyTerritory, 1042},
    {QLocale::Chinese, QLocale::Taiwan, 1028},         {QLocale::Chinese, QLocale::AnyTerritory, 2052},
    {QLocale::Indonesian, QLocale::AnyTerritory, 1057}, {QLocale::Vietnamese, QLocale::AnyTerritory, 1066},
    {QLocale::Thai, QLocale::AnyTerritory, 1054},
};

} // namespace

int WindowsLanguageIdFor(const QLocale& locale)
{
    for (const LanguageIds& e : kLanguageIds)
        if (e.language == locale.language() && e.territory == locale.territory())
            return e.id;
    for (const LanguageIds& e : kLanguageIds)
        if (e.language == locale.language() && e.territory == QLocale::AnyTerritory)
            return e.id;
    return 1033;
}

int AnsiCodePageFor(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Polish: case QLocale::Czech: case QLocale::Slovak: case QLocale::Hungarian:
    case QLocale::Romanian: case QLocale::Croatian: case QLocale::Slovenian: case QLocale::Albanian:
        return 1250;
    case QLocale::Russian: case QLocale::Ukrainian: case QLocale::Bulgarian: case QLocale::Serbian:
    case QLocale::Belarusian: case QLocale::Macedonian:
        return 1251;
    case QLocale::Greek: return 1253;
    case QLocale::Turkish: case QLocale::Azerbaijani: return 1254;
    case QLocale::Hebrew: return 1255;
    case QLocale::Arabic: case QLocale::Persian: case QLocale::Urdu: return 1256;
    case QLocale::Estonian: case QLocale::Latvian: case QLocale::Lithuanian: return 1257;
    case QLocale::Vietnamese: return 1258;
    case QLocale::Thai: return 874;
    case QLocale::Japanese: return 932;
    case QLocale::Korean: return 949;
    case QLocale::Chinese: return locale.territory() == QLocale::Taiwan ? 950 : 936;
    default: return 1252;
    }
}

QString ShortDateFormatFor(const QLocale& locale)
{
    return locale.dateFormat(QLocale::ShortFormat);
}

QString LongTimeFormatFor(const QLocale& locale)
{
    // The long format names the time zone; keep hours, minutes and seconds only.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    format = format.trimmed();
    if (!format.contains(QLatin1Char('s')))
        format = QStringLiteral("HH:mm:ss");
    return format;
}

namespace {

QByteArray iconvName(int codePage)
{
    return QByteArray("CP") + QByteArray::number(codePage);
}

QByteArray convert(const QByteArray& from, const QByteArray& to, const QByteArray& input, char replacement,
                   int replacementWidth)
{
    iconv_t cd = iconv_open(to.constData(), from.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.reserve(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
        if (r == static_cast<size_t>(-1)) {
            if (error == E2BIG)
                continue;
            // An unconvertible or incomplete sequence: put the replacement and skip one input unit.
            if (replacementWidth == 2) {
                const char16_t rep = u'\uFFFD';
                out.append(reinterpret_cast<const char*>(&rep), 2);
            } else {
                out.append(replacement);
            }
            const size_t skip = std::min<size_t>(inLeft, from == "UTF-16LE" ? 2 : 1);
            in += skip;
            inLeft -= skip;
        }
    }
    // Code pages with combining marks (1255, 1258) hold the last letter back until they are told the input ended.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
    iconv_close(cd);
    return out;
}

} // namespace

QString DecodeAnsi(const QByteArray& bytes, int codePage)
{
    const QByteArray utf16 = convert(iconvName(codePage), "UTF-16LE", bytes, 0, 2);
    if (utf16.isEmpty() && !bytes.isEmpty())
        return QString::fromLatin1(bytes);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

QByteArray EncodeAnsi(const QString& text, int codePage)
{
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const QByteArray out = convert("UTF-16LE", iconvName(codePage), utf16, '?', 1);
    if (out.isEmpty() && !text.isEmpty())
        return text.toLatin1();
    return out;
}

NamedMutex::NamedMutex(const QString& name)
    : m_name("/" + name.toUtf8())
{
    sem_t* sem = sem_open(m_name.constData(), O_CREAT, 0600, 1);
    if (sem != SEM_FAILED)
        m_handle = sem;
}

NamedMutex::~NamedMutex()
{
    if (m_handle)
        sem_close(static_cast<sem_t*>(m_handle));
}

bool NamedMutex::isHeld() const
{
    return m_handle != nullptr;
}

QString WriteRestartScript(const QString& dataFolder, const QString& executablePath, int codePage)
{
    const QStringList comments{
        QStringLiteral("#!/bin/sh"),
        QStringLiteral("# This file was created automatically to restart the program."),
        QStringLiteral("# It is safe to delete this file."),
        QStringLiteral("sleep 1"),
    };
    QByteArray bytes;
    for (const QString& line : comments)
        bytes += EncodeAnsi(line, codePage) + '\n'; // a shell script needs LF line ends
    // The path goes in as the file system's own bytes (another code page would name a different file), in
    // single quotes so that the shell expands nothing in it ($, `, \, ").
    QByteArray quoted = QFile::encodeName(executablePath);
    quoted.replace('\'', "'\\''");
    bytes += '\'' + quoted + "'\n";
    const QString path = dataFolder + QStringLiteral("start.sh");
    if (!WriteFileAtomically(path, bytes))
        return {};
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

} // namespace platform

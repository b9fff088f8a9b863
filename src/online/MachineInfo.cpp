#include "online/MachineInfo.h"

#include "platform/TextFile.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>

namespace {

QString readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(64 * 1024));
}

QString unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    value.replace(QStringLiteral("\\\""), QStringLiteral("\""));
    return value;
}

} // namespace

QString FormatOsDescription(const QString& name, int major, int minor, int build, bool is64Bit)
{
    return QStringLiteral("%1 (Version %2.%3, Build %4, %5)")
        .arg(name, QString::number(major), QString::number(minor), QString::number(build),
             is64Bit ? QStringLiteral("64-bit Edition") : QStringLiteral("32-bit Edition"));
}

QString OsPrettyName(const QString& osReleaseText)
{
    QString prettyName;
    QString name;
    for (const QString& line : SplitLines(osReleaseText)) {
        if (line.startsWith(QStringLiteral("PRETTY_NAME=")))
            prettyName = unquote(line.mid(12));
        else if (line.startsWith(QStringLiteral("NAME=")))
            name = unquote(line.mid(5));
    }
    if (!prettyName.isEmpty())
        return prettyName;
    return name.isEmpty() ? QStringLiteral("Linux") : name;
}

void ParseKernelVersion(const QString& version, int& major, int& minor, int& build)
{
    major = minor = build = 0;
    static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = numbers.match(version.trimmed());
    if (!match.hasMatch())
        return;
    major = match.captured(1).toInt();
    minor = match.captured(2).toInt();
    build = match.captured(3).toInt();
}

QString LocaleTag(const QString& localeName)
{
    if (localeName.isEmpty() || localeName == QStringLiteral("C") || localeName == QStringLiteral("POSIX"))
        return QStringLiteral("xx");
    QString tag = localeName;
    tag.replace(QLatin1Char('_'), QLatin1Char('-'));
    return tag;
}

MachineInfo ReadMachineInfo()
{
    int major = 0, minor = 0, build = 0;
    ParseKernelVersion(QSysInfo::kernelVersion(), major, minor, build);
    const bool is64Bit = QSysInfo::currentCpuArchitecture().contains(QStringLiteral("64"));

    MachineInfo info;
    info.os = FormatOsDescription(OsPrettyName(readSmallFile(QStringLiteral("/etc/os-release"))), major, minor,
                                  build, is64Bit);
    info.locale = LocaleTag(QLocale::system().name());
    info.guid = readSmallFile(QStringLiteral("/etc/machine-id")).trimmed();
    return info;
}

#include "platform/Environment.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>

QDateTime Environment::now() const
{
    return QDateTime::currentDateTime();
}

QString Environment::shortDateFormat() const
{
    return platform::ShortDateFormatFor(QLocale::system());
}

QString Environment::longTimeFormat() const
{
    return platform::LongTimeFormatFor(QLocale::system());
}

QChar Environment::listSeparator() const
{
    return platform::ListSeparatorFor(QLocale::system());
}

int Environment::uiLanguageId() const
{
    return platform::WindowsLanguageIdFor(QLocale::system());
}

int Environment::ansiCodePage() const
{
    return platform::AnsiCodePageFor(QLocale::system());
}

QString Environment::executableFolder() const
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString Environment::executablePath() const
{
    return QCoreApplication::applicationFilePath();
}

QString Environment::roamingAppDataFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool Environment::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool Environment::startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

void Environment::quitApplication()
{
    QCoreApplication::exit(0);
}

#include "support/FixedEnvironment.h"

bool FixedEnvironment::openUrl(const QUrl& url)
{
    openedUrls << url.toString();
    return true;
}

bool FixedEnvironment::startDetached(const QString& program, const QStringList& arguments, const QString&)
{
    startedPrograms << (QStringList{program} + arguments).join(QLatin1Char(' '));
    return true;
}

#include "store/ServerUrl.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

// The password of a URI's user part: after the user name and up to the last '@' before the host; the user name
// follows a '/' ("postgresql://", also a mistyped "postgresql:/"), a blank or the start of the text.
const QRegularExpression& UserPassword()
{
    static const QRegularExpression pattern(QStringLiteral("((?:^|[/\\s])[^\\s/?#@:]*):([^\\s/?#]*)@"));
    return pattern;
}

// A password parameter of a URI's query or of a key=value list, with the separator before it; a quoted value
// may hold blanks.
const QRegularExpression& PasswordParameter()
{
    static const QRegularExpression pattern(
        QStringLiteral("(^|[?&]|\\s+)password\\s*=\\s*('(?:[^'\\\\]|\\\\.)*'|[^&\\s]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The password texts the URL holds, as written and as libpq reads them.
QStringList Passwords(const QString& url)
{
    QStringList passwords;
    const auto add = [&passwords](QString password) {
        if (password.startsWith(QLatin1Char('\'')) && password.endsWith(QLatin1Char('\'')) && password.size() > 1)
            password = password.mid(1, password.size() - 2);
        if (password.isEmpty())
            return;
        passwords << password << QUrl::fromPercentEncoding(password.toUtf8());
    };
    for (const auto& re : {&UserPassword(), &PasswordParameter()}) {
        auto matches = re->globalMatch(url);
        while (matches.hasNext())
            add(matches.next().captured(2));
    }
    return passwords;
}

} // namespace

bool IsServerUrl(const QString& location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
           || location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString ShownServerUrl(const QString& url)
{
    QString shown = url;
    shown.replace(UserPassword(), QStringLiteral("\\1@"));
    // A parameter goes with its separator; the first of a URI's query gives its '?' to the next one.
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch found = PasswordParameter().match(shown, from);
        if (!found.hasMatch())
            break;
        qsizetype start = found.capturedStart();
        qsizetype end = found.capturedEnd();
        if (found.captured(1) == QLatin1String("?") && end < shown.size() && shown.at(end) == QLatin1Char('&'))
            ++start, ++end; // "?password=x&next=1": keep the '?', drop the '&'
        else if (found.captured(1).isEmpty() && end < shown.size() && shown.at(end).isSpace())
            ++end; // a key=value list that starts with it
        shown.remove(start, end - start);
        from = start;
    }
    return shown;
}

bool HasPassword(const QString& url)
{
    return !Passwords(url).isEmpty();
}

QString WithoutPassword(const QString& message, const QString& url)
{
    QString shown = message;
    if (!url.isEmpty())
        shown.replace(url, ShownServerUrl(url));
    for (const QString& password : Passwords(url))
        shown.replace(QLatin1Char('"') + password + QLatin1Char('"'), QStringLiteral("\"…\""));
    return ShownServerUrl(shown);
}

#include "online/UpdateCheck.h"

#include "online/UpdateStore.h"
#include "platform/Environment.h"
#include "platform/TextFile.h"

namespace {

// True for a non-empty run of digits and nothing else.
bool isWholeNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

UpdateCheckSetup MakeUpdateCheckSetup(const Environment& environment, const QString& appTitle,
                                      const QString& appVersion)
{
    UpdateCheckSetup setup;
    setup.storePath = UpdateStore::DefaultPath();
    setup.appTitle = appTitle;
    setup.appVersion = appVersion;
    setup.today = environment.now().date().toString(environment.shortDateFormat());
    return setup;
}

QString TaggedValue(const QString& line, const QString& tag)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString close = QStringLiteral("</") + tag + QLatin1Char('>');
    if (line.size() < open.size() + close.size() || !line.startsWith(open) || !line.endsWith(close))
        return {};
    return line.mid(open.size(), line.size() - open.size() - close.size());
}

FormFields BuildCheckFields(const QString& appTitle, const QString& appVersion, const MachineInfo& machine)
{
    return {{QStringLiteral("cmd"), QStringLiteral("check")},
            {QStringLiteral("appname"), appTitle},
            {QStringLiteral("version"), appVersion},
            {QStringLiteral("os"), machine.os},
            {QStringLiteral("local"), machine.locale},
            {QStringLiteral("guid"), machine.guid}};
}

UpdateCheckResult RunUpdateCheck(const UpdateCheckSetup& setup)
{
    UpdateCheckResult result;
    UpdateStore store(setup.storePath);
    result.showUpdate = store.ShowUpdate();
    const QString lastCheck = store.LastUpdateCheck();
    const qint64 lastCount = store.LastUpdateCheckCount();
    result.url = store.CurrentURL();

    if (result.showUpdate == 0)
        return result;
    const bool checkedToday = lastCheck == setup.today;
    if (checkedToday && lastCount > 4)
        return result;

    const MachineInfo machine = setup.machineInfo ? setup.machineInfo() : MachineInfo{};
    result.requested = true;
    const PostResult answer = PostWithFallback(QStringLiteral("/php/check2.php"),
                                               BuildCheckFields(setup.appTitle, setup.appVersion, machine),
                                               setup.timeouts);
    if (!answer.ok || answer.body.startsWith(QStringLiteral("ERROR")))
        return result;

    const qint64 count = checkedToday ? lastCount + 1 : 1;
    store.WriteCheck(setup.today, count);

    const QStringList lines = SplitLines(answer.body);
    if (lines.size() > 0)
        result.version = TaggedValue(lines[0], QStringLiteral("version"));
    if (lines.size() > 1)
        result.url = TaggedValue(lines[1], QStringLiteral("url"));
    store.WriteCurrent(result.version, result.url);

    result.notice = result.version != setup.appVersion
        && isWholeNumber(QString(result.version).remove(QLatin1Char('.')))
        && result.showUpdate == 1
        && (!checkedToday || count < 5);
    return result;
}

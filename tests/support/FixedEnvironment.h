#pragma once

#include "platform/Environment.h"

#include <QStringList>

// A machine with a fixed clock and locale and folders of the test's choosing. Starting programs and opening
// addresses are recorded, never done; quitting is recorded.
class FixedEnvironment : public Environment
{
public:
    QDateTime fixedNow = QDateTime(QDate(2025, 1, 31), QTime(14, 5, 9));
    QString dateFormat = QStringLiteral("dd.MM.yyyy");
    QString timeFormat = QStringLiteral("HH:mm:ss");
    QChar separator = QLatin1Char(';');
    int languageId = 1033;
    int codePage = 1252;
    QString exeFolder;   // ends in '/'
    QString appDataFolder;

    QStringList openedUrls;
    QStringList startedPrograms;
    int quitRequests = 0;

    QDateTime now() const override { return fixedNow; }
    QString shortDateFormat() const override { return dateFormat; }
    QString longTimeFormat() const override { return timeFormat; }
    QChar listSeparator() const override { return separator; }
    int uiLanguageId() const override { return languageId; }
    int ansiCodePage() const override { return codePage; }
    QString executableFolder() const override { return exeFolder; }
    QString executablePath() const override { return exeFolder + QStringLiteral("quenvale"); }
    QString roamingAppDataFolder() const override { return appDataFolder; }
    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
    void quitApplication() override { ++quitRequests; }
};

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

// The services of the machine the program runs on: clock, locale, folders, starting other programs.
// The program asks this object and nothing else, so tests can replace it with fixed answers.
class Environment
{
public:
    virtual ~Environment() = default;

    virtual QDateTime now() const;
    // The locale's short date format and its time format with seconds (Qt format strings, e.g. dd.MM.yyyy).
    virtual QString shortDateFormat() const;
    virtual QString longTimeFormat() const;
    // The locale's list separator: ';' where the decimal point is a comma, ',' otherwise.
    virtual QChar listSeparator() const;
    // The Windows language identifier of the user's language (1033 for en_US, 1055 for tr_TR ...).
    virtual int uiLanguageId() const;
    // The Windows "ANSI" code page of the user's language (1252, 1254 ...).
    virtual int ansiCodePage() const;

    // Folder of the executable, ending in '/'.
    virtual QString executableFolder() const;
    virtual QString executablePath() const;
    // The per-user roaming application-data folder (without a trailing separator).
    virtual QString roamingAppDataFolder() const;

    // Shell "open": a web address in the browser.
    virtual bool openUrl(const QUrl& url);
    // Starts a program detached from this one.
    virtual bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder);
    // Ends this run of the program.
    virtual void quitApplication();
};

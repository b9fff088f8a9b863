#pragma once

#include "core/Dialogs.h"
#include "platform/Environment.h"

// A machine with the program folder of the benchmark, a fixed locale and nothing started or opened.
class BenchEnvironment : public Environment
{
public:
    QString programFolder; // ends in '/'
    QDateTime now() const override { return QDateTime(QDate(2025, 6, 30), QTime(12, 0)); }
    QString shortDateFormat() const override { return QStringLiteral("dd.MM.yyyy"); }
    QString longTimeFormat() const override { return QStringLiteral("HH:mm:ss"); }
    QChar listSeparator() const override { return QLatin1Char(';'); }
    int uiLanguageId() const override { return 1033; }
    int ansiCodePage() const override { return 1252; }
    QString executableFolder() const override { return programFolder; }
    QString executablePath() const override { return programFolder + QStringLiteral("quenvale"); }
    QString roamingAppDataFolder() const override { return programFolder + QStringLiteral("appdata"); }
    bool openUrl(const QUrl&) override { return true; }
    bool startDetached(const QString&, const QStringList&, const QString&) override { return true; }
    void quitApplication() override {}
};

// Answers every question with Yes/OK, cancels input, file and print dialogs, shows no window.
class BenchDialogs : public Dialogs
{
public:
    int showMessage(QWidget*, const Message& message) override { return (message.buttons & Yes) ? Yes : Ok; }
    std::optional<QString> inputText(QWidget*, const Input&) override { return std::nullopt; }
    QString openFile(QWidget*, const FileRequest&) override { return {}; }
    QString saveFile(QWidget*, const FileRequest&) override { return {}; }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    void beep() override {}
    int execModal(QDialog&) override { return 0; }
};

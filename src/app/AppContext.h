#pragma once

#include "core/SettingsStore.h"
#include "pos/ReceiptBook.h"
#include "pos/SettingsReceiptNumberKeeper.h"
#include "store/Database.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class Dialogs;
class Environment;
class QWidget;

// What the program's windows share: the machine, the dialogs, the settings, the database, the receipt book and
// numbers, and the administrator gate. Windows and commands take this (or the parts of it they need) instead of
// the main window, and tell the main window what they want through its signals.
class AppContext : public QObject
{
    Q_OBJECT

public:
    // Reads the program's identity, chooses the data folder, reads the settings, loads the language file the
    // settings name and fills the receipt book. The database is opened later (openDatabase).
    AppContext(Environment& environment, Dialogs& dialogs);

    Environment& env() const { return m_env; }
    Dialogs& dialogs() const { return m_dialogs; }
    SettingsStore& settings() { return m_settings; }
    Database& SQLConnection1() { return m_db; }
    // The next receipt number: the ReceiptNumber setting.
    ReceiptNumberKeeper& receiptNumbers() { return m_receiptNumbers; }

    QString DataFolder; // ends in '/'
    QString AppCompanyName;
    QString AppProductName;
    QString AppTitle;
    QString AppVersion;
    QChar CsvSeparator;
    ReceiptBook receipts;

    // The window messages of the context are shown over (the main window); null shows them on their own.
    QWidget* window() const { return m_window; }
    void setWindow(QWidget* window) { m_window = window; }

    // Opens and migrates the shop's database: the server DatabaseUrl names, or else data.db (created from
    // empty.db when it is missing). False when it cannot be opened (the reason has been shown).
    bool openDatabase();
    // The name of this till on a shared database: TillName, or the machine's host name.
    QString tillName() const;

    bool isAdmin() const { return m_isAdmin; }
    void SetAdminMode(bool admin);
    // The administrator check: false (after the warning) when not in administrator mode.
    bool CheckAdmin();

    // Asks the main window to show the sale screen (a screen's "back" button).
    void showSaleScreen() { emit saleScreenRequested(); }
    void setCurrencySymbol(const QString& symbol);
    void setAskBeforePrinting(bool ask);
    void SetLanguageFile(const QString& fileName);
    // Writes the restart script, starts it and ends this run.
    void RestartApplication();

    // Database errors: "Exception raised with message: " + the engine's message, plain box, program title.
    void ReportDatabaseError(const QString& engineMessage);
    // The shop's server could not be reached: said in the user's language, with the server's URL and libpq's words.
    void ReportServerUnreachable(const QString& server, const QString& reason);
    void ShowError(const QString& message);
    // The general error handler: runs a command and shows any AppError or other exception it raises.
    void runGuarded(const std::function<void()>& command);
    // An input dialog whose OK/Cancel captions are translated unless told otherwise; nothing when cancelled.
    std::optional<QString> InputQuery(const QString& caption, const QString& prompt, const QString& initialText,
                                      bool masked = false, bool translateButtons = true);

signals:
    void adminModeChanged(bool admin);
    void currencySymbolChanged();
    void saleScreenRequested();

private:
    Environment& m_env;
    Dialogs& m_dialogs;
    SettingsStore m_settings;
    SettingsReceiptNumberKeeper m_receiptNumbers{m_settings};
    Database m_db;
    QWidget* m_window = nullptr;
    bool m_isAdmin = false;
};

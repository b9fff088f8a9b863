#include "app/AppContext.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "app/VersionInfo.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "store/DataFileTemplate.h"
#include "store/ServerUrl.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <algorithm>

namespace {

QString DefaultTemplateText()
{
    return QStringList{TranslateText("Welcome to Our Shop"),
                       QStringLiteral("[DATETIME]"),
                       QString(),
                       QStringLiteral("Receipt Number: [RECEIPTNO]"),
                       QString(),
                       QStringLiteral("[LIST]"),
                       QString(),
                       TranslateText("Total:") + QStringLiteral(" [TOTAL]"),
                       QString(),
                       TranslateText("Thank you")}
        .join(QStringLiteral("\r\n"));
}

// The sale's default layout, marked as a refund and naming the receipt it gives back.
QString DefaultRefundTemplateText()
{
    return QStringList{TranslateText("Welcome to Our Shop"),
                       TranslateText("REFUND"),
                       QStringLiteral("[DATETIME]"),
                       QString(),
                       QStringLiteral("Receipt Number: [RECEIPTNO]"),
                       QStringLiteral("Original Receipt: [ORIGINALRECEIPTNO]"),
                       QString(),
                       QStringLiteral("[LIST]"),
                       QString(),
                       TranslateText("Total:") + QStringLiteral(" [TOTAL]"),
                       QString(),
                       TranslateText("Thank you")}
        .join(QStringLiteral("\r\n"));
}

// The template's lines from the data folder's file, or the default's when there is none or it is empty.
QStringList TemplateLines(const QString& path, const QString& defaultText, int ansiCodePage)
{
    QStringList lines;
    if (QFile::exists(path))
        LoadLinesUtf8OrAnsi(path, ansiCodePage, lines);
    if (lines.isEmpty())
        lines = SplitLines(defaultText);
    return lines;
}

} // namespace

AppContext::AppContext(Environment& environment, Dialogs& dialogs)
    : m_env(environment)
    , m_dialogs(dialogs)
{
    const TEXEVersionData version = ReadVersionData();
    AppCompanyName = version.CompanyName;
    AppProductName = version.ProductName;
    AppVersion = AppVersionText();
    AppTitle = AppCompanyName + QStringLiteral(" - ") + AppProductName;

    DataFolder = platform::ChooseDataFolder(m_env.executableFolder(), m_env.roamingAppDataFolder(), AppCompanyName,
                                            AppProductName);
    CsvSeparator = m_env.listSeparator();
    m_settings = SettingsStore(DataFolder + QStringLiteral("settings.ini"));
    AppTranslator().LoadLanguageFile(m_env.executableFolder(), m_settings.text(SettingKey::LanguageFile),
                                     m_env.uiLanguageId(), m_env.ansiCodePage());
    m_db.setClock([this] { return m_env.now(); });
    m_db.setErrorReporter([this](const QString& message) { ReportDatabaseError(message); });
    m_db.setUnreachableReporter(
        [this](const QString& server, const QString& reason) { ReportServerUnreachable(server, reason); });

    receipts.DefaultReceiptTemplate = DefaultTemplateText();
    receipts.CurrencySymbol = m_settings.text(SettingKey::CurrencySymbol);
    receipts.ReceiptFolder = m_settings.text(SettingKey::ReceiptFolder);
    receipts.askBeforePrinting = m_settings.integer(SettingKey::AskPrint) == 1;
    receipts.DefaultRefundTemplate = DefaultRefundTemplateText();
    receipts.ReceiptTemplate = TemplateLines(DataFolder + QStringLiteral("PrintTemplate.txt"),
                                             receipts.DefaultReceiptTemplate, m_env.ansiCodePage());
    receipts.RefundTemplate = TemplateLines(DataFolder + QStringLiteral("RefundTemplate.txt"),
                                            receipts.DefaultRefundTemplate, m_env.ansiCodePage());
}

bool AppContext::openDatabase()
{
    m_db.setTillName(tillName());
    const QString serverUrl = m_settings.text(SettingKey::DatabaseUrl).trimmed();
    if (!serverUrl.isEmpty()) {
        if (!IsServerUrl(serverUrl)) {
            // Falling back to data.db would sell from a stock of its own beside the shop's.
            ShowError(TranslateText("DatabaseUrl is not a PostgreSQL connection URI:") + QLatin1Char(' ')
                      + ShownServerUrl(serverUrl));
            return false;
        }
        // The till's own statements are short: one that waits longer for the server or for another till fails
        // (the sale stays on the screen) instead of freezing the till. Long work runs on workers with Cancel.
        const auto seconds = [this](SettingKey key) { return int(std::clamp<qint64>(m_settings.integer(key), 0, 86400)); };
        m_db.setStatementLimits({seconds(SettingKey::ServerStatementTimeout), seconds(SettingKey::ServerLockTimeout)});
        if (!m_db.open(serverUrl))
            return false;
        m_db.Migrate();
        return true;
    }
    const QString dataFile = DataFolder + QStringLiteral("data.db");
    CreateDataFileFromTemplate(dataFile, m_env.executableFolder() + QStringLiteral("empty.db"));
    if (!m_db.open(dataFile))
        return false;
    m_db.Migrate();
    return true;
}

QString AppContext::tillName() const
{
    const QString name = m_settings.text(SettingKey::TillName).trimmed();
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

void AppContext::SetAdminMode(bool admin)
{
    m_isAdmin = admin;
    emit adminModeChanged(admin);
}

bool AppContext::CheckAdmin()
{
    if (m_isAdmin)
        return true;
    m_dialogs.warning(m_window, TranslateText("WARNING"), TranslateText("You are not logged as admin!"));
    return false;
}

void AppContext::setCurrencySymbol(const QString& symbol)
{
    m_settings.set(SettingKey::CurrencySymbol, symbol);
    receipts.CurrencySymbol = symbol;
    emit currencySymbolChanged();
}

void AppContext::setAskBeforePrinting(bool ask)
{
    receipts.askBeforePrinting = ask;
    m_settings.set(SettingKey::AskPrint, qint64(ask ? 1 : 0));
}

void AppContext::SetLanguageFile(const QString& fileName)
{
    m_settings.set(SettingKey::LanguageFile, fileName);
}

void AppContext::RestartApplication()
{
    const QString script = platform::WriteRestartScript(DataFolder, m_env.executablePath(), m_env.ansiCodePage());
    QCoreApplication::processEvents();
    if (!script.isEmpty())
        m_env.startDetached(QStringLiteral("/bin/sh"), {script}, DataFolder);
    QCoreApplication::processEvents();
    m_env.quitApplication();
}

void AppContext::ReportDatabaseError(const QString& engineMessage)
{
    m_dialogs.message(m_window, AppTitle, QStringLiteral("Exception raised with message: ") + engineMessage,
                      Dialogs::Icon::None, Dialogs::Ok);
}

void AppContext::ReportServerUnreachable(const QString& server, const QString& reason)
{
    ShowError(TranslateText("The server could not be reached.") + QStringLiteral("\n\n") + TranslateText("Server URL:")
              + QLatin1Char(' ') + server + QStringLiteral("\n\n") + reason);
}

void AppContext::ShowError(const QString& message)
{
    m_dialogs.message(m_window, AppTitle, message, Dialogs::Icon::Error, Dialogs::Ok);
}

void AppContext::runGuarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const AppError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    }
}

std::optional<QString> AppContext::InputQuery(const QString& caption, const QString& prompt,
                                              const QString& initialText, bool masked, bool translateButtons)
{
    Dialogs::Input input;
    input.caption = caption;
    input.prompt = prompt;
    input.initialText = initialText;
    input.masked = masked;
    if (translateButtons) {
        input.okCaption = TranslateText("OK");
        input.cancelCaption = TranslateText("Cancel");
    }
    return m_dialogs.inputText(m_window, input);
}

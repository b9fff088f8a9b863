#include "core/SettingKeys.h"

#include <array>

namespace {

const std::array<SettingDefinition, 31> kTable{{
    {SettingKey::LanguageFile, "LanguageFile", false, QString()},
    {SettingKey::CurrencySymbol, "CurrencySymbol", false, QStringLiteral("$")},
    {SettingKey::ReceiptNumber, "ReceiptNumber", false, qint64(1)},
    {SettingKey::ReceiptFolder, "ReceiptFolder", false, QString()},
    {SettingKey::AskPrint, "Print", false, qint64(0)},
    {SettingKey::VisualStyle, "VCL", false, QString()},
    {SettingKey::UserSecret, "Secret64", false, QString()},
    {SettingKey::AdminSecret, "SecretAdmin64", false, QString()},
    {SettingKey::MainColumn, "MainColumn", true, qint64(124)},
    {SettingKey::PaymentColumn, "PaymentColumn", true, qint64(100)},
    {SettingKey::CreditColumn, "CreditColumn", true, qint64(100)},
    {SettingKey::ProductsLeft, "ProductsLeft", false, qint64(-1)},
    {SettingKey::ProductsTop, "ProductsTop", false, qint64(-1)},
    {SettingKey::ProductsWidth, "ProductsWidth", false, qint64(-1)},
    {SettingKey::ProductsHeight, "ProductsHeight", false, qint64(-1)},
    {SettingKey::ProductsStyle, "ProductsStyle", false, qint64(0)},
    {SettingKey::DisplayPrices, "DisplayPrices", false, qint64(0)},
    {SettingKey::StockSheetWidth, "StockSheetWidth", false, qint64(-1)},
    {SettingKey::StockSheetHeight, "StockSheetHeight", false, qint64(-1)},
    {SettingKey::StockSheetWindowState, "StockSheetWindowState", false, QStringLiteral("Normal")},
    {SettingKey::StockSheetColumn, "StockSheetColumn", true, qint64(120)},
    {SettingKey::ReceiptPrinter, "ReceiptPrinter", false, QStringLiteral("system")},
    {SettingKey::ReceiptPrinterAddress, "ReceiptPrinterAddress", false, QString()},
    {SettingKey::ReceiptPrinterColumns, "ReceiptPrinterColumns", false, qint64(42)},
    {SettingKey::ReceiptPrinterCodePage, "ReceiptPrinterCodePage", false, qint64(0)}, // 0: from the language
    {SettingKey::ReceiptPrinterCut, "ReceiptPrinterCut", false, qint64(1)},
    {SettingKey::CashDrawer, "CashDrawer", false, qint64(0)},
    {SettingKey::DatabaseUrl, "DatabaseUrl", false, QString()}, // empty: data.db in the data folder
    {SettingKey::TillName, "TillName", false, QString()},       // empty: the machine's host name
    // Seconds a statement of the till may run, and wait for another till's lock, on the server; 0: no limit.
    {SettingKey::ServerStatementTimeout, "ServerStatementTimeout", false, qint64(15)},
    {SettingKey::ServerLockTimeout, "ServerLockTimeout", false, qint64(5)},
}};

} // namespace

const SettingDefinition& DefinitionOf(SettingKey key)
{
    const SettingDefinition& definition = kTable[size_t(key)];
    Q_ASSERT(definition.key == key);
    return definition;
}

QString SettingName(SettingKey key, int number)
{
    const SettingDefinition& definition = DefinitionOf(key);
    const QString name = QString::fromLatin1(definition.name);
    return definition.numbered ? name + QString::number(number) : name;
}

#pragma once

#include <QString>
#include <QVariant>

// Every key of settings.ini. A numbered family (MainColumn1, MainColumn2, ...) is one key read with an index.
enum class SettingKey
{
    LanguageFile,
    CurrencySymbol,
    ReceiptNumber,
    ReceiptFolder,
    AskPrint,
    VisualStyle,
    UserSecret,
    AdminSecret,
    MainColumn,
    PaymentColumn,
    CreditColumn,
    ProductsLeft,
    ProductsTop,
    ProductsWidth,
    ProductsHeight,
    ProductsStyle,
    DisplayPrices,
    StockSheetWidth,
    StockSheetHeight,
    StockSheetWindowState,
    StockSheetColumn,
    ReceiptPrinter,
    ReceiptPrinterAddress,
    ReceiptPrinterColumns,
    ReceiptPrinterCodePage,
    ReceiptPrinterCut,
    CashDrawer,
    DatabaseUrl,
    TillName,
    ServerStatementTimeout,
    ServerLockTimeout,
};

// One row of the key table: the name in the file, whether a number is numbered, and the value read when the
// key is absent (a QString for text keys, a qint64 for integer keys).
struct SettingDefinition
{
    SettingKey key;
    const char* name;
    bool numbered;
    QVariant defaultValue;
};

const SettingDefinition& DefinitionOf(SettingKey key);
// The key's name in the file: "ReceiptNumber", or with its number "MainColumn3".
QString SettingName(SettingKey key, int number = 0);

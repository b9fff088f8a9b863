#pragma once

#include <QString>
#include <QStringList>

// What every receipt is made from. The values are read from the settings when the program starts; whoever
// changes one writes it to the settings as well. The next receipt number is kept apart, by the receipt number
// keeper.
struct ReceiptBook
{
    QString ReceiptFolder;            // empty: receipts are not saved
    QStringList ReceiptTemplate;      // the shop's template, line by line
    QString DefaultReceiptTemplate;   // the template "Reset" goes back to (in the language in force)
    QStringList RefundTemplate;       // the refund receipt's template, line by line (RefundTemplate.txt)
    QString DefaultRefundTemplate;    // the refund template "Reset" goes back to
    QString CurrencySymbol;
    bool askBeforePrinting = false;   // "Ask Print": a sale asks "Print?" before printing its receipt
};

#pragma once

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptPrinterSettings.h"

#include <QString>

class AppContext;
class QWidget;

// The till's receipt output: the receipt printer the settings name (the system printer through the print
// dialog, or an ESC/POS printer sent to on a worker while the window repaints), the cash drawer on it, and the
// receipt folder (FisKaydet). A failed print or drawer pulse is "Printer not found!", untranslated.
class TillReceiptOutput : public ReceiptOutput
{
public:
    // A non-empty print job title names the system printer's print job.
    TillReceiptOutput(AppContext& context, QWidget* parent, QString printJobTitle = QString());

    bool hasCashDrawer() const override;
    OutputResult print(const QString& receiptText, bool openDrawer) override;
    OutputResult openCashDrawer() override;
    void save(qint64 receiptNumber, const QString& receiptText) override;

private:
    AppContext& m_context;
    QWidget* m_parent;
    QString m_printJobTitle;
    ReceiptPrinterSettings m_printer;
};

#pragma once

#include "pos/ReceiptPrinterSettings.h"

#include <QString>

#include <chrono>
#include <utility>

class Dialogs;
class QWidget;
class AppContext;

// The one way receipts, test pages and the cash drawer reach the receipt printer the settings name: the system
// printer through the print dialog, or an ESC/POS printer directly. Every failure ends with the error "Printer
// not found!" (translated only when asked), as a failed print on the system printer does.

// How long an ESC/POS printer may take to accept the connection and the bytes; the till waits no longer.
inline constexpr std::chrono::milliseconds kReceiptPrinterTimeout{3000};

struct ReceiptPrintJob
{
    explicit ReceiptPrintJob(QString receiptText, QString printJobTitle = QString())
        : text(std::move(receiptText))
        , jobTitle(std::move(printJobTitle))
    {
    }

    QString text;
    QString jobTitle;        // names the system printer's print job when not empty
    bool translateError = false;
    bool openDrawer = false; // the drawer pulse follows the receipt (ESC/POS printers only)
};

ReceiptPrinterSettings CurrentReceiptPrinter(AppContext& context);

// True when printed, false when the system print dialog or the sending to an ESC/POS printer was cancelled;
// raises AppError when printing fails. An ESC/POS printer is sent to on a worker while the window keeps
// repainting with the busy cursor.
bool PrintReceipt(AppContext& context, QWidget* parent, const ReceiptPrintJob& job);
bool PrintReceiptOn(const ReceiptPrinterSettings& printer, QWidget* parent, Dialogs& dialogs, int ansiCodePage,
                    const ReceiptPrintJob& job);

// Sends the drawer pulse to an ESC/POS printer (on a worker, as a receipt); raises AppError "Printer not found!"
// when that fails.
void OpenCashDrawerOn(const ReceiptPrinterSettings& printer, QWidget* parent);

// The shop's template with sample lines, on the printer given (the receipt settings window's unsaved choice).
void PrintReceiptTestPage(AppContext& context, QWidget* parent, const ReceiptPrinterSettings& printer);

#pragma once

#include <QString>
#include <QtGlobal>

// How printing a receipt, or opening the cash drawer, ended.
struct OutputResult
{
    enum class Status { Done, Cancelled, Failed };

    static OutputResult done() { return {Status::Done, {}}; }
    // The cashier cancelled the print dialog or the sending.
    static OutputResult cancelled() { return {Status::Cancelled, {}}; }
    static OutputResult failed(const QString& message) { return {Status::Failed, message}; }

    Status status = Status::Cancelled;
    QString failure; // what to tell the cashier when it failed ("Printer not found!")
};

// Where a checkout's receipt goes: the receipt printer (the system printer through the print dialog, or an
// ESC/POS printer), the cash drawer on it, and the receipt file. The till's windows provide it; a checkout
// knows no more of it than this.
class ReceiptOutput
{
public:
    virtual ~ReceiptOutput() = default;

    // A cash drawer hangs off the receipt printer.
    virtual bool hasCashDrawer() const = 0;
    // Prints the receipt, followed by the drawer pulse when asked and a drawer is there.
    virtual OutputResult print(const QString& receiptText, bool openDrawer) = 0;
    virtual OutputResult openCashDrawer() = 0;
    // Keeps the receipt as the file of its number (when the shop keeps receipt files); reports its own failures.
    virtual void save(qint64 receiptNumber, const QString& receiptText) = 0;
};

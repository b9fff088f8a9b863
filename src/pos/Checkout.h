#pragma once

#include <QString>
#include <functional>
#include <optional>

class Database;
class Environment;
class Payment;
class ReceiptNumberKeeper;
class ReceiptOutput;
class Sale;
struct ReceiptBook;
struct RefundRequest;

// How a checkout ended.
struct CheckoutResult
{
    // The sale is stored: it is done and has been cleared, whatever happened to its receipt. False when nothing
    // was stored (the reason has been reported): the sale is left as it was, for another try.
    bool recorded = false;
    // The number of the receipt the sale got, if it got one.
    std::optional<qint64> receiptNumber;
    // A stored sale whose printing or cash drawer failed: what to tell the cashier once the sale has left the
    // screen ("Printer not found!"). The receipt can be printed again from the history.
    QString failure;
    // A refund refused before anything was stored (nothing chosen, more than is left, not a sale): why, in the
    // user's language. Empty when the database failed (reported) or something was stored.
    QString refusal;
};

// Completes a sale at the till: the receipt number, the sale stored as a whole, the receipt rendered (dated with
// the time the sale was stored with), printed on request, saved and numbered, the sale cleared for the next
// customer, and the cash drawer opened. It sees no window: the receipt goes to a ReceiptOutput, the number is kept
// by a ReceiptNumberKeeper, the cashier's "Print?" is a question the caller answers, and a screen showing the sale
// follows it being cleared.
//
// The receipt number:
// - A paid sale takes its number, and the next one is stored, before the sale is stored, so a crash once it is
//   stored cannot give the next sale the same number. The number is given back only when nothing was stored.
//   Its receipt is always saved and numbered, printed or not, and also when printing fails.
// - A sale on account takes a number only for a receipt the cashier asked for: it is taken when the cashier
//   says yes and given back when the print dialog is cancelled. A receipt whose printing failed keeps it.
class Checkout
{
public:
    Checkout(Database& db, ReceiptNumberKeeper& numbers, ReceiptOutput& output, const ReceiptBook& book,
             const Environment& env);

    // Stores the sale's lines for the payment, lowers the stock, and then asks printReceipt (once, only for a
    // stored sale) whether the cashier wants the receipt printed. Once the receipt is printed (or not) and saved,
    // the stored sale is cleared, also when its printing failed, so it cannot be sold twice. When cash was taken
    // and a drawer is there, the printed receipt carries the drawer pulse; when no receipt was asked for, the
    // drawer opens on its own after the sale has been cleared.
    CheckoutResult sell(Sale& sale, const Payment& payment, const std::function<bool()>& printReceipt);

    // Gives back what the request asks (RecordRefund): it takes a receipt number, as a paid sale does, stores the
    // refund, asks printReceipt (once, only for a stored refund) whether to print its receipt, made from the
    // refund template with the original's number, and saves the receipt under its number, printed or not. When
    // cash goes out and a drawer is there, the printed receipt carries the drawer pulse, or the drawer opens on its
    // own when none was printed.
    CheckoutResult refund(const RefundRequest& request, const std::function<bool()>& printReceipt);

private:
    Database& m_db;
    ReceiptNumberKeeper& m_numbers;
    ReceiptOutput& m_output;
    const ReceiptBook& m_book;
    const Environment& m_env;
};

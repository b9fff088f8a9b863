#pragma once

#include <QString>
#include <optional>

class QWidget;
class AppContext;
class SaleScreen;

// The customer a credit sale is written to.
struct CreditCustomer
{
    qint64 id = 0;
    QString name;
};

// Completes the sale on the sale screen, for cash or (with a customer) on credit: stores it as a whole (paid
// lines under the receipt number, or the customer's open lines) and lowers the stock; renders the receipt,
// prints it on request (a cash sale with the drawer pulse when a drawer is set up), saves and numbers it, and
// clears the sale screen. A cash receipt is always saved and numbered, a credit one only when the cashier chose
// to print it (not when the print dialog was cancelled). False when nothing was stored (the reason has been
// shown). A stored sale is complete even when its printing fails: the receipt is saved and numbered all the same,
// the screen cleared, and then "Printer not found!" is shown; the receipt can be printed again from the history.
bool CompleteSale(AppContext& context, SaleScreen& screen, QWidget* parent,
                  const std::optional<CreditCustomer>& credit);

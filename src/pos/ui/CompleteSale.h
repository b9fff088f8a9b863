#pragma once

#include <QString>

class AppContext;
class Payment;
class QWidget;
class Sale;

// Completes the sale through the checkout (pos/Checkout) with the till's receipt output: asks "Print?" under the
// checkout's caption when "Ask Print" is on, and once the sale is stored and cleared shows what went wrong with
// the printer or the drawer, if anything. A non-empty print job title names the system printer's print job.
// False when nothing was stored (the reason has been shown): the sale is left as it was.
bool CompleteSale(AppContext& context, Sale& sale, const Payment& payment, QWidget* parent, const QString& caption,
                  const QString& printJobTitle = QString());

// The main window's caption, which the print job of a receipt printed at the till carries; empty without a main
// window.
QString MainWindowTitle(const AppContext& context);

// A sale at the till after "Confirm?" under the caption (SELL BY CASH, SELL BY CARD): completed for the payment,
// its print job titled with the main window's caption. On No, or when nothing could be stored, the sale is left
// as it was.
void ConfirmAndCompleteSale(AppContext& context, Sale& sale, const QString& caption, const Payment& payment);

#pragma once

#include <QString>

class AppContext;
class Payment;
class QWidget;
class SaleScreen;

// Completes the sale on the sale screen through the checkout (pos/Checkout) with the till's receipt output: asks
// "Print?" under the checkout's caption when "Ask Print" is on, clears the screen once the sale is stored and
// then shows what went wrong with the printer or the drawer, if anything. A non-empty print job title names the
// system printer's print job. False when nothing was stored (the reason has been shown).
bool CompleteSale(AppContext& context, SaleScreen& screen, const Payment& payment, QWidget* parent,
                  const QString& caption, const QString& printJobTitle = QString());

// A sale at the till after "Confirm?" under the caption (SELL BY CASH, SELL BY CARD): completed for the payment,
// its print job titled with the main window's caption. On No, or when nothing could be stored, the list keeps the
// sale and the focus.
void ConfirmAndCompleteSale(AppContext& context, SaleScreen& screen, const QString& caption, const Payment& payment);

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

#pragma once

#include <QtGlobal>

#include <optional>

class AppContext;
class Sale;

// "SELL BY CASH": after "Confirm?" completes the sale as paid in cash (ConfirmAndCompleteSale): stored under the
// next receipt number, the receipt rendered, printed on request, saved and numbered, the sale cleared; what the
// cashier typed as the amount tendered for it, if anything, is stored as handed over. On No, or when nothing
// could be stored, the sale is left as it was.
void CashCheckout(AppContext& context, Sale& sale, std::optional<qint64> handedCents = std::nullopt);
// "SELL BY CARD": the same, paid by card for the total: no change, no cash drawer.
void CardCheckout(AppContext& context, Sale& sale);

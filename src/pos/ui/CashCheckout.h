#pragma once

class AppContext;
class SaleScreen;

// "SELL BY CASH": after "Confirm?" completes the sale on the screen as paid (CompleteSale): stored under the
// next receipt number, the receipt rendered, printed on request, saved and numbered, the screen cleared. On No,
// or when nothing could be stored, the list keeps the sale and the focus.
void CashCheckout(AppContext& context, SaleScreen& screen);

#pragma once

class AppContext;
class SaleScreen;

// "SELL BY CASH": after "Confirm?" completes the sale on the screen as paid in cash (ConfirmAndCompleteSale), with
// the amount tendered typed for it as handed over.
void CashCheckout(AppContext& context, SaleScreen& screen);
// "SELL BY CARD": the same, paid by card for the total: no change, no cash drawer.
void CardCheckout(AppContext& context, SaleScreen& screen);

#pragma once

class AppContext;
class Sale;

// "SELL BY CASH": after "Confirm?" completes the sale as paid (CompleteSale): stored under the next receipt
// number, the receipt rendered, printed on request, saved and numbered, the sale cleared. On No, or when nothing
// could be stored, the sale is left as it was.
void CashCheckout(AppContext& context, Sale& sale);

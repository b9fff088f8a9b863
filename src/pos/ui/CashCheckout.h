#pragma once

class AppContext;
class SaleScreen;

// "SELL BY CASH": after a confirmation stores the sale list as paid lines under the current receipt number
// and lowers the stock, all in one transaction; renders the receipt, prints it on request, saves it, advances
// the receipt number and clears the sale screen. A failed print ("Printer not found!") ends it after the sale
// has been stored: the receipt is then neither saved nor numbered and the list stays on screen.
void CashCheckout(AppContext& context, SaleScreen& screen);

#include "pos/ui/CashCheckout.h"

#include "i18n/Translator.h"
#include "pos/Payment.h"
#include "pos/ui/CompleteSale.h"
#include "pos/ui/SaleScreen.h"

void CashCheckout(AppContext& context, SaleScreen& screen)
{
    ConfirmAndCompleteSale(context, screen, TranslateText("Sell by Cash"), Payment::cash(screen.amountTendered()));
}

void CardCheckout(AppContext& context, SaleScreen& screen)
{
    ConfirmAndCompleteSale(context, screen, TranslateText("Sell by Card"), Payment::card());
}

#include "pos/ui/CashCheckout.h"

#include "app/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "pos/ui/Checkout.h"
#include "pos/ui/SaleScreen.h"

void CashCheckout(AppContext& context, SaleScreen& screen)
{
    const QString caption = TranslateText("Sell by Cash");
    if (!context.dialogs().askYesNo(context.window(), caption, TranslateText("Confirm?"))) {
        screen.focusList();
        return;
    }

    if (!CompleteSale(context, screen, context.window(), std::nullopt))
        screen.focusList(); // nothing was stored: the list stays for another try
}

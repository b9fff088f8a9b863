#include "pos/ui/CashCheckout.h"

#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "pos/ui/Checkout.h"
#include "pos/ui/SaleScreen.h"

#include <QTreeView>

void CashCheckout(TAppForm& main)
{
    SaleScreen& screen = *main.saleScreen();
    const QString caption = TranslateText("Sell by Cash");
    if (!main.dialogs().askYesNo(&main, caption, TranslateText("Confirm?"))) {
        screen.ListView1->setFocus();
        return;
    }

    if (!CompleteSale(main, &main, std::nullopt))
        screen.ListView1->setFocus(); // nothing was stored: the list stays for another try
}

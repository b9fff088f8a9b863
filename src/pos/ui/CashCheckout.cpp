#include "pos/ui/CashCheckout.h"

#include "app/AppContext.h"
#include "app/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Payment.h"
#include "pos/ui/CompleteSale.h"
#include "pos/ui/SaleScreen.h"

#include <QWidget>

void CashCheckout(AppContext& context, SaleScreen& screen)
{
    const QString caption = TranslateText("Sell by Cash");
    if (!context.dialogs().askYesNo(context.window(), caption, TranslateText("Confirm?"))) {
        screen.focusList();
        return;
    }
    // The cash receipt's print job carries the main window's caption.
    const QString jobTitle = context.window() ? context.window()->window()->windowTitle() : QString();
    if (!CompleteSale(context, screen, Payment::cash(), context.window(), caption, jobTitle))
        screen.focusList(); // nothing was stored: the list stays for another try
}

#include "pos/ui/CashCheckout.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Payment.h"
#include "pos/ui/CompleteSale.h"

#include <QWidget>

void CashCheckout(AppContext& context, Sale& sale)
{
    const QString caption = TranslateText("Sell by Cash");
    if (!context.dialogs().askYesNo(context.window(), caption, TranslateText("Confirm?")))
        return;
    // The cash receipt's print job carries the main window's caption.
    const QString jobTitle = context.window() ? context.window()->window()->windowTitle() : QString();
    CompleteSale(context, sale, Payment::cash(), context.window(), caption, jobTitle);
}

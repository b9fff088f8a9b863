#include "pos/ui/CompleteSale.h"

#include "app/AppContext.h"
#include "app/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Checkout.h"
#include "pos/ui/SaleScreen.h"
#include "pos/ui/TillReceiptOutput.h"

#include <QWidget>

bool CompleteSale(AppContext& context, SaleScreen& screen, const Payment& payment, QWidget* parent,
                  const QString& caption, const QString& printJobTitle)
{
    TillReceiptOutput output(context, parent, printJobTitle);
    Checkout checkout(context.SQLConnection1(), context.receiptNumbers(), output, context.receipts, context.env());
    const CheckoutResult result = checkout.sell(screen.sale(), payment, [&] {
        return context.receipts.askBeforePrinting
               && context.dialogs().askYesNo(parent, caption, TranslateText("Print?"));
    });
    if (!result.recorded)
        return false;
    screen.ClearAfterSale();
    if (!result.failure.isEmpty())
        context.ShowError(result.failure);
    return true;
}

void ConfirmAndCompleteSale(AppContext& context, SaleScreen& screen, const QString& caption, const Payment& payment)
{
    if (!context.dialogs().askYesNo(context.window(), caption, TranslateText("Confirm?"))) {
        screen.focusList();
        return;
    }
    const QString jobTitle = context.window() ? context.window()->window()->windowTitle() : QString();
    if (!CompleteSale(context, screen, payment, context.window(), caption, jobTitle))
        screen.focusList(); // nothing was stored: the list stays for another try
}

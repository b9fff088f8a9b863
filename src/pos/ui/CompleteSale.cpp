#include "pos/ui/CompleteSale.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Checkout.h"
#include "pos/ui/TillReceiptOutput.h"

#include <QWidget>

bool CompleteSale(AppContext& context, Sale& sale, const Payment& payment, QWidget* parent, const QString& caption,
                  const QString& printJobTitle)
{
    TillReceiptOutput output(context, parent, printJobTitle);
    Checkout checkout(context.SQLConnection1(), context.receiptNumbers(), output, context.receipts, context.env());
    const CheckoutResult result = checkout.sell(sale, payment, [&] {
        return context.receipts.askBeforePrinting
               && context.dialogs().askYesNo(parent, caption, TranslateText("Print?"));
    });
    if (!result.recorded)
        return false;
    if (!result.failure.isEmpty())
        context.ShowError(result.failure);
    return true;
}

QString MainWindowTitle(const AppContext& context)
{
    return context.window() ? context.window()->window()->windowTitle() : QString();
}

void ConfirmAndCompleteSale(AppContext& context, Sale& sale, const QString& caption, const Payment& payment)
{
    if (!context.dialogs().askYesNo(context.window(), caption, TranslateText("Confirm?")))
        return;
    CompleteSale(context, sale, payment, context.window(), caption, MainWindowTitle(context));
}

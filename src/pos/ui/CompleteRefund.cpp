#include "pos/ui/CompleteRefund.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Checkout.h"
#include "pos/Refund.h"
#include "pos/ui/CompleteSale.h"
#include "pos/ui/TillReceiptOutput.h"

bool CompleteRefund(AppContext& context, const RefundRequest& request, QWidget* parent)
{
    TillReceiptOutput output(context, parent, MainWindowTitle(context));
    Checkout checkout(context.SQLConnection1(), context.receiptNumbers(), output, context.receipts, context.env());
    const CheckoutResult result = checkout.refund(request, [&] {
        return context.receipts.askBeforePrinting
               && context.dialogs().askYesNo(parent, TranslateText("Refund"), TranslateText("Print?"));
    });
    if (!result.recorded) {
        if (!result.refusal.isEmpty())
            context.ShowError(result.refusal);
        return false;
    }
    if (!result.failure.isEmpty())
        context.ShowError(result.failure);
    return true;
}

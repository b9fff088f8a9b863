#include "pos/ui/CashCheckout.h"

#include "i18n/Translator.h"
#include "pos/Payment.h"
#include "pos/ui/CompleteSale.h"

void CashCheckout(AppContext& context, Sale& sale, std::optional<qint64> handedCents)
{
    ConfirmAndCompleteSale(context, sale, TranslateText("Sell by Cash"), Payment::cash(handedCents));
}

void CardCheckout(AppContext& context, Sale& sale)
{
    ConfirmAndCompleteSale(context, sale, TranslateText("Sell by Card"), Payment::card());
}

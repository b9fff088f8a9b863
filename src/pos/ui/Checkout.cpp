#include "pos/ui/Checkout.h"

#include "app/AppContext.h"
#include "app/AppError.h"
#include "app/Dialogs.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Receipt.h"
#include "pos/SaleRecorder.h"
#include "pos/ui/ReceiptFiles.h"
#include "pos/ui/ReceiptOutput.h"
#include "pos/ui/SaleScreen.h"

#include <QWidget>

bool CompleteSale(AppContext& context, SaleScreen& screen, QWidget* parent,
                  const std::optional<CreditCustomer>& credit)
{
    const bool cash = !credit;
    // A cash sale takes its receipt number (and stores the next one) before the sale is stored, so that a crash
    // once it is stored cannot give the next sale the same number; a credit sale takes one only for a receipt.
    std::optional<ReceiptNumberReservation> receiptNumber;
    if (cash)
        receiptNumber.emplace(context);
    const RecordedSale sale = cash ? RecordCashSale(context.SQLConnection1(), receiptNumber->number(),
                                                    screen.sale().checkoutLines())
                                   : RecordCreditSale(context.SQLConnection1(), credit->id, credit->name,
                                                      screen.sale().checkoutLines());
    if (!sale.committed)
        return false;

    const QString caption = TranslateText(cash ? "Sell by Cash" : "Sell by Credit");
    QString printFailure;
    // On an ESC/POS printer the drawer pulse goes out with a cash receipt, in the same write.
    const bool openDrawer = cash && CurrentReceiptPrinter(context).drawerAttached();
    const bool print = context.receipts.askBeforePrinting
                       && context.dialogs().askYesNo(parent, caption, TranslateText("Print?"));
    if (cash || print) {
        if (!receiptNumber)
            receiptNumber.emplace(context);
        Environment& env = context.env();
        const QString receipt = RenderReceipt(ReceiptTemplateText(context.receipts.ReceiptTemplate),
                                              QString::number(receiptNumber->number()), sale.listText, sale.total,
                                              env.now(), context.receipts.CurrencySymbol, env.shortDateFormat(),
                                              env.longTimeFormat());
        bool printed = false;
        if (print) {
            ReceiptPrintJob job(receipt, cash ? parent->window()->windowTitle() : QString());
            job.openDrawer = openDrawer;
            try {
                printed = PrintReceipt(context, parent, job);
            } catch (const AppError& failure) {
                // The sale is stored: it must not stay on screen to be sold again. Its receipt keeps its number
                // and its file, for a reprint from the sales history once the printer is back.
                printFailure = failure.message();
            }
        }
        if (cash || printed || !printFailure.isEmpty()) {
            receiptNumber->keep();
            FisKaydet(context, receipt, receiptNumber->number());
        }
    }
    screen.ClearAfterSale();
    if (!printFailure.isEmpty()) {
        context.ShowError(printFailure);
        return true;
    }
    // Without a receipt the drawer still opens; the sale is complete by now, so a failure here only reports.
    if (openDrawer && !print)
        OpenCashDrawer(context);
    return true;
}

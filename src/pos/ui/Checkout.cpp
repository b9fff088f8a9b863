#include "pos/ui/Checkout.h"

#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Receipt.h"
#include "pos/SaleRecorder.h"
#include "pos/ui/ReceiptFiles.h"
#include "pos/ui/ReceiptOutput.h"
#include "pos/ui/SaleScreen.h"

#include <QAction>

bool CompleteSale(TAppForm& main, QWidget* parent, const std::optional<CreditCustomer>& credit)
{
    SaleScreen& screen = *main.saleScreen();
    const bool cash = !credit;
    // A cash sale takes its receipt number (and stores the next one) before the sale is stored, so that a crash
    // once it is stored cannot give the next sale the same number; a credit sale takes one only for a receipt.
    std::optional<ReceiptNumberReservation> receiptNumber;
    if (cash)
        receiptNumber.emplace(main);
    const RecordedSale sale = cash ? RecordCashSale(main.SQLConnection1(), receiptNumber->number(), screen.saleLines())
                                   : RecordCreditSale(main.SQLConnection1(), credit->id, credit->name,
                                                      screen.saleLines());
    if (!sale.committed)
        return false;

    const QString caption = TranslateText(cash ? "Sell by Cash" : "Sell by Credit");
    // On an ESC/POS printer the drawer pulse goes out with a cash receipt, in the same write.
    const bool openDrawer = cash && CurrentReceiptPrinter(main).drawerAttached();
    const bool print = main.action(QStringLiteral("AskPrint1"))->isChecked()
                       && main.dialogs().askYesNo(parent, caption, TranslateText("Print?"));
    if (cash || print) {
        if (!receiptNumber)
            receiptNumber.emplace(main);
        Environment& env = main.env();
        const QString receipt = RenderReceipt(ReceiptTemplateText(main.ReceiptTemplate),
                                              QString::number(receiptNumber->number()), sale.listText, sale.total,
                                              env.now(), main.CurrencySymbol, env.shortDateFormat(),
                                              env.longTimeFormat());
        bool printed = false;
        if (print) {
            ReceiptPrintJob job(receipt, cash ? main.windowTitle() : QString());
            job.openDrawer = openDrawer;
            printed = PrintReceipt(main, parent, job);
        }
        if (cash || printed) {
            receiptNumber->keep();
            FisKaydet(main, receipt, receiptNumber->number());
        }
    }
    screen.ClearAfterSale();
    // Without a receipt the drawer still opens; the sale is complete by now, so a failure here only reports.
    if (openDrawer && !print)
        OpenCashDrawer(main);
    return true;
}

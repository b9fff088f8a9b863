#include "pos/ui/CashCheckout.h"

#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Receipt.h"
#include "pos/ui/ReceiptFiles.h"
#include "pos/SaleRecorder.h"
#include "pos/ui/SaleScreen.h"
#include "pos/ui/ReceiptOutput.h"

#include <QAction>
#include <QTreeView>

void CashCheckout(TAppForm& main)
{
    SaleScreen& screen = *main.saleScreen();
    const QString caption = TranslateText("Sell by Cash");
    if (!main.dialogs().askYesNo(&main, caption, TranslateText("Confirm?"))) {
        screen.ListView1->setFocus();
        return;
    }

    // The receipt number is taken (and the next one stored) before the sale is, so that a crash once the sale is
    // stored cannot give the next sale the same number.
    ReceiptNumberReservation receiptNumber(main);
    const RecordedSale sale = RecordCashSale(main.SQLConnection1(), receiptNumber.number(), screen.saleLines());
    if (!sale.committed) {
        // Nothing was stored (the reason has been shown): the list stays for another try.
        screen.ListView1->setFocus();
        return;
    }

    Environment& env = main.env();
    const QString receipt = RenderReceipt(ReceiptTemplateText(main.ReceiptTemplate),
                                          QString::number(receiptNumber.number()), sale.listText, sale.total,
                                          env.now(), main.CurrencySymbol, env.shortDateFormat(), env.longTimeFormat());
    // A failed print raises "Printer not found!": the sale stays stored, the receipt is neither saved nor numbered.
    // On an ESC/POS printer the drawer pulse goes out with the receipt, in the same write.
    const bool openDrawer = CurrentReceiptPrinter(main).drawerAttached();
    const bool print = main.action(QStringLiteral("AskPrint1"))->isChecked()
                       && main.dialogs().askYesNo(&main, caption, TranslateText("Print?"));
    if (print) {
        ReceiptPrintJob job(receipt, main.windowTitle());
        job.openDrawer = openDrawer;
        PrintReceipt(main, &main, job);
    }

    receiptNumber.keep();
    FisKaydet(main, receipt, receiptNumber.number());
    screen.ClearAfterSale();
    // Without a receipt the drawer still opens; the sale is complete by now, so a failure here only reports.
    if (openDrawer && !print)
        OpenCashDrawer(main);
}

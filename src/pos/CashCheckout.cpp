#include "pos/CashCheckout.h"

#include "app/Dialogs.h"
#include "app/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Receipt.h"
#include "pos/ReceiptFiles.h"
#include "pos/ReceiptPrinter.h"
#include "pos/SaleRecorder.h"
#include "pos/SaleScreen.h"

#include <QAction>
#include <QTreeWidget>

void CashCheckout(TAppForm& main)
{
    SaleScreen& screen = *main.saleScreen();
    const QString caption = TranslateText("Sell by Cash");
    if (!main.dialogs().askYesNo(&main, caption, TranslateText("Confirm?"))) {
        screen.ListView1->setFocus();
        return;
    }

    const RecordedSale sale = RecordCashSale(main.SQLConnection1(), main.ReceiptNumber, screen.saleLines());
    if (!sale.committed) {
        // Nothing was stored (the reason has been shown): the list stays for another try.
        screen.ListView1->setFocus();
        return;
    }

    Environment& env = main.env();
    const QString receipt = RenderReceipt(ReceiptTemplateText(main.ReceiptTemplate),
                                          QString::number(main.ReceiptNumber), sale.listText, sale.total, env.now(),
                                          main.CurrencySymbol, env.shortDateFormat(), env.longTimeFormat());
    if (main.action(QStringLiteral("AskPrint1"))->isChecked()
        && main.dialogs().askYesNo(&main, caption, TranslateText("Print?")))
        PrintReceiptText(&main, main.dialogs(), receipt, main.windowTitle(), env.ansiCodePage(), false);

    FisKaydet(main, receipt);
    FisNoArtir(main);
    screen.ClearAfterSale();
}

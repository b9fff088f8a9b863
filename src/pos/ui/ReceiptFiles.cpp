#include "pos/ui/ReceiptFiles.h"

#include "core/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"
#include "pos/Receipt.h"

bool TXTkaydet(AppContext& context, const QString& text, const QString& path)
{
    if (WriteFileAtomically(path, ReceiptFileBytes(text)))
        return true;
    context.dialogs().error(context.window(), TranslateText("ERROR"),
                            TranslateText("Cannot create file") + QStringLiteral("\r\r") + path);
    return false;
}

void FisKaydet(AppContext& context, const QString& text, qint64 receiptNumber)
{
    if (context.receipts.ReceiptFolder.isEmpty())
        return;
    TXTkaydet(context, text, ReceiptFilePath(context.receipts.ReceiptFolder, receiptNumber));
}

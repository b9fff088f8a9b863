#include "pos/ReceiptFiles.h"

#include "app/Dialogs.h"
#include "app/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"
#include "pos/Receipt.h"

bool TXTkaydet(TAppForm& main, const QString& text, const QString& path)
{
    if (WriteFileAtomically(path, ReceiptFileBytes(text)))
        return true;
    main.dialogs().error(&main, TranslateText("ERROR"),
                         TranslateText("Cannot create file") + QStringLiteral("\r\r") + path);
    return false;
}

void FisKaydet(TAppForm& main, const QString& text)
{
    if (main.ReceiptFolder.isEmpty())
        return;
    TXTkaydet(main, text, ReceiptFilePath(main.ReceiptFolder, main.ReceiptNumber));
}

void FisNoArtir(TAppForm& main)
{
    ++main.ReceiptNumber;
    main.settings().WriteInteger(QStringLiteral("ReceiptNumber"), main.ReceiptNumber);
    main.settings().UpdateFile();
}

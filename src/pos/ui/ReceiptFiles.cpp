#include "pos/ui/ReceiptFiles.h"

#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"
#include "pos/Receipt.h"

namespace {

void StoreReceiptNumber(TAppForm& main, qint64 number)
{
    main.ReceiptNumber = number;
    main.settings().set(SettingKey::ReceiptNumber, number);
}

} // namespace

bool TXTkaydet(TAppForm& main, const QString& text, const QString& path)
{
    if (WriteFileAtomically(path, ReceiptFileBytes(text)))
        return true;
    main.dialogs().error(&main, TranslateText("ERROR"),
                         TranslateText("Cannot create file") + QStringLiteral("\r\r") + path);
    return false;
}

void FisKaydet(TAppForm& main, const QString& text, qint64 receiptNumber)
{
    if (main.ReceiptFolder.isEmpty())
        return;
    TXTkaydet(main, text, ReceiptFilePath(main.ReceiptFolder, receiptNumber));
}

void FisNoArtir(TAppForm& main)
{
    StoreReceiptNumber(main, main.ReceiptNumber + 1);
}

ReceiptNumberReservation::ReceiptNumberReservation(TAppForm& main)
    : m_main(main)
    , m_number(main.ReceiptNumber)
{
    FisNoArtir(main);
}

ReceiptNumberReservation::~ReceiptNumberReservation()
{
    if (!m_kept)
        StoreReceiptNumber(m_main, m_number);
}

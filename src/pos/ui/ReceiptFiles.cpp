#include "pos/ui/ReceiptFiles.h"

#include "app/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/TextFile.h"
#include "pos/Receipt.h"

namespace {

void StoreReceiptNumber(AppContext& context, qint64 number)
{
    context.receipts.ReceiptNumber = number;
    context.settings().set(SettingKey::ReceiptNumber, number);
}

} // namespace

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

void FisNoArtir(AppContext& context)
{
    StoreReceiptNumber(context, context.receipts.ReceiptNumber + 1);
}

ReceiptNumberReservation::ReceiptNumberReservation(AppContext& context)
    : m_context(context)
    , m_number(context.receipts.ReceiptNumber)
{
    FisNoArtir(context);
}

ReceiptNumberReservation::~ReceiptNumberReservation()
{
    if (!m_kept)
        StoreReceiptNumber(m_context, m_number);
}

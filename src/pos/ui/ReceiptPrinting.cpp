#include "pos/ui/ReceiptPrinting.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "app/AppContext.h"
#include "app/ui/LongTaskRunner.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/EscPosReceipt.h"
#include "pos/EscPosSender.h"
#include "pos/Receipt.h"
#include "pos/ui/ReceiptPrinter.h"

#include <QtDebug>

namespace {

AppError PrinterNotFound(bool translate)
{
    const char* message = "Printer not found!";
    return AppError(translate ? TranslateText(message) : QString::fromLatin1(message));
}

// Sends on a worker while the window keeps repainting with the busy cursor, so a printer that does not answer
// holds up the till no longer than the time-out (and only until Cancel once the progress dialog shows). True
// when sent, false when cancelled; raises "Printer not found!" when it failed.
bool SendToEscPos(QWidget* parent, const ReceiptPrinterSettings& printer, const QByteArray& bytes,
                  bool translateError)
{
    QString reason;
    bool sent = false;
    const bool finished = LongTaskRunner::run(parent, TranslateText("Sending to the receipt printer..."),
                                              [&](LongTaskProgress& progress) {
        sent = printer.kind == ReceiptPrinterSettings::Kind::EscPosTcp
                   ? SendToTcpPrinter(printer.address, bytes, kReceiptPrinterTimeout, &reason, progress.cancelCheck())
                   : SendToPrinterDevice(printer.address, bytes, kReceiptPrinterTimeout, &reason,
                                         progress.cancelCheck());
    });
    if (sent || !finished)
        return sent;
    qWarning().noquote() << "Receipt printer" << printer.address << "-" << reason;
    throw PrinterNotFound(translateError);
}

} // namespace

ReceiptPrinterSettings CurrentReceiptPrinter(AppContext& context)
{
    return ReceiptPrinterSettings::read(context.settings(), context.env().ansiCodePage());
}

bool PrintReceipt(AppContext& context, QWidget* parent, const ReceiptPrintJob& job)
{
    return PrintReceiptOn(CurrentReceiptPrinter(context), parent, context.dialogs(), context.env().ansiCodePage(), job);
}

bool PrintReceiptOn(const ReceiptPrinterSettings& printer, QWidget* parent, Dialogs& dialogs, int ansiCodePage,
                    const ReceiptPrintJob& job)
{
    if (!printer.isEscPos())
        return PrintReceiptText(parent, dialogs, job.text, job.jobTitle, ansiCodePage, job.translateError);
    QByteArray bytes = EscPosReceiptBytes(job.text, {printer.columns, printer.codePage, printer.cut});
    if (job.openDrawer && printer.drawerAttached())
        bytes += EscPosDrawerPulse();
    return SendToEscPos(parent, printer, bytes, job.translateError);
}

void OpenCashDrawerOn(const ReceiptPrinterSettings& printer, QWidget* parent)
{
    if (printer.isEscPos())
        SendToEscPos(parent, printer, EscPosDrawerPulse(), false);
}

void PrintReceiptTestPage(AppContext& context, QWidget* parent, const ReceiptPrinterSettings& printer)
{
    const QString list = ReceiptListLine(TranslateText("Sample product"), QStringLiteral("2.50"), 2)
                         + QStringLiteral("\r\n")
                         + ReceiptListLine(TranslateText("Sample product with a name too long for one line"),
                                           QStringLiteral("1.20"), 1);
    Environment& env = context.env();
    const QString text = RenderReceipt(ReceiptTemplateText(context.receipts.ReceiptTemplate),
                                       QString::number(context.receiptNumbers().next()),
                                       list, 6.2, env.now(), context.receipts.CurrencySymbol, env.shortDateFormat(),
                                       env.longTimeFormat());
    const ReceiptPrintJob job(text);
    PrintReceiptOn(printer, parent, context.dialogs(), env.ansiCodePage(), job);
}

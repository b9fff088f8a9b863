#include "pos/ui/ReceiptOutput.h"

#include "app/AppError.h"
#include "app/Dialogs.h"
#include "app/ui/TAppForm.h"
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

void SendToEscPos(const ReceiptPrinterSettings& printer, const QByteArray& bytes, bool translateError)
{
    QString reason;
    const bool sent = printer.kind == ReceiptPrinterSettings::Kind::EscPosTcp
                          ? SendToTcpPrinter(printer.address, bytes, kReceiptPrinterTimeout, &reason)
                          : SendToPrinterDevice(printer.address, bytes, kReceiptPrinterTimeout, &reason);
    if (!sent) {
        qWarning().noquote() << "Receipt printer" << printer.address << "-" << reason;
        throw PrinterNotFound(translateError);
    }
}

} // namespace

ReceiptPrinterSettings CurrentReceiptPrinter(TAppForm& main)
{
    return ReceiptPrinterSettings::read(main.settings(), main.env().ansiCodePage());
}

bool PrintReceipt(TAppForm& main, QWidget* parent, const ReceiptPrintJob& job)
{
    return PrintReceiptOn(CurrentReceiptPrinter(main), parent, main.dialogs(), main.env().ansiCodePage(), job);
}

bool PrintReceiptOn(const ReceiptPrinterSettings& printer, QWidget* parent, Dialogs& dialogs, int ansiCodePage,
                    const ReceiptPrintJob& job)
{
    if (!printer.isEscPos())
        return PrintReceiptText(parent, dialogs, job.text, job.jobTitle, ansiCodePage, job.translateError);
    QByteArray bytes = EscPosReceiptBytes(job.text, {printer.columns, printer.codePage, printer.cut});
    if (job.openDrawer && printer.drawerAttached())
        bytes += EscPosDrawerPulse();
    SendToEscPos(printer, bytes, job.translateError);
    return true;
}

void OpenCashDrawer(TAppForm& main)
{
    const ReceiptPrinterSettings printer = CurrentReceiptPrinter(main);
    if (printer.isEscPos())
        SendToEscPos(printer, EscPosDrawerPulse(), false);
}

void OpenCashDrawerCommand(TAppForm& main)
{
    if (!main.CheckAdmin())
        return;
    if (!CurrentReceiptPrinter(main).drawerAttached()) {
        main.dialogs().warning(&main, TranslateText("WARNING"), TranslateText("No cash drawer is set up."));
        return;
    }
    OpenCashDrawer(main);
}

void PrintReceiptTestPage(TAppForm& main, QWidget* parent, const ReceiptPrinterSettings& printer)
{
    const QString list = ReceiptListLine(TranslateText("Sample product"), QStringLiteral("2.50"), 2)
                         + QStringLiteral("\r\n")
                         + ReceiptListLine(TranslateText("Sample product with a name too long for one line"),
                                           QStringLiteral("1.20"), 1);
    Environment& env = main.env();
    const QString text = RenderReceipt(ReceiptTemplateText(main.ReceiptTemplate), QString::number(main.ReceiptNumber),
                                       list, 6.2, env.now(), main.CurrencySymbol, env.shortDateFormat(),
                                       env.longTimeFormat());
    const ReceiptPrintJob job(text);
    PrintReceiptOn(printer, parent, main.dialogs(), env.ansiCodePage(), job);
}

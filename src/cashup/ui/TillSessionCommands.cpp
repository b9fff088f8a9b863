#include "cashup/ui/TillSessionCommands.h"

#include "app/AppContext.h"
#include "cashup/SessionFigures.h"
#include "cashup/TillSessions.h"
#include "cashup/ZReportText.h"
#include "cashup/ui/CloseTillWindow.h"
#include "cashup/ui/ReportTextWindow.h"
#include "cashup/ui/TillCashWindow.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/ui/ReceiptPrinting.h"

namespace {

void SayNoOpenSession(AppContext& context)
{
    context.dialogs().information(context.window(), context.AppTitle,
                                  TranslateText("The till has no open session."));
}

} // namespace

void OpenTillCommand(AppContext& context)
{
    Database& db = context.SQLConnection1();
    if (OpenSessionOf(db, db.tillName())) {
        context.dialogs().warning(context.window(), TranslateText("WARNING"),
                                  TranslateText("The till is open already."));
        return;
    }
    TillCashWindow window(context, TillCashWindow::Purpose::Float);
    if (context.dialogs().execModal(window) != QDialog::Accepted)
        return;
    QString refusal;
    if (!OpenTill(db, window.amountCents(), &refusal)) {
        if (!refusal.isEmpty())
            context.dialogs().warning(context.window(), TranslateText("WARNING"), refusal);
        return;
    }
    context.dialogs().information(context.window(), context.AppTitle,
                                  TranslateText("The till is open with a float of %1.")
                                      .arg(CentsWithSymbol(context.receipts.CurrencySymbol, window.amountCents())));
}

void CashMovementCommand(AppContext& context, CashMovementKind kind)
{
    TillCashWindow window(context, kind == CashMovementKind::In ? TillCashWindow::Purpose::CashIn
                                                                : TillCashWindow::Purpose::CashOut);
    if (context.dialogs().execModal(window) != QDialog::Accepted)
        return;
    if (!RecordCashMovement(context.SQLConnection1(), kind, window.amountCents(), window.reason()))
        return;
    const ReceiptPrinterSettings printer = CurrentReceiptPrinter(context);
    if (printer.drawerAttached())
        OpenCashDrawerOn(printer, context.window());
}

void CloseTillCommand(AppContext& context, bool saleOnScreen)
{
    if (saleOnScreen) {
        context.dialogs().warning(context.window(), TranslateText("WARNING"),
                                  TranslateText("A sale is on the screen. Complete or clear it before closing the till."));
        return;
    }
    Database& db = context.SQLConnection1();
    if (!OpenSessionOf(db, db.tillName())) {
        SayNoOpenSession(context);
        return;
    }
    CloseTillWindow count(context);
    if (context.dialogs().execModal(count) != QDialog::Accepted)
        return;
    QString refusal;
    const std::optional<ZReport> z = CloseTill(db, count.countedCents(), &refusal);
    if (!z) {
        if (!refusal.isEmpty())
            context.dialogs().warning(context.window(), TranslateText("WARNING"), refusal);
        return;
    }
    const QString title = TranslateText("Z Report");
    const QStringList lines = ZReportText(*z, context.receipts.CurrencySymbol);
    // The Z is stored whatever becomes of its print; it is shown either way and can be printed again.
    try {
        PrintReportLines(context, context.window(), title, lines);
    } catch (const AppError& error) {
        context.ShowError(error.message());
    }
    ShowReportText(context, context.window(), title, lines);
}

void XReportCommand(AppContext& context)
{
    Database& db = context.SQLConnection1();
    const std::optional<QString> session = OpenSessionOf(db, db.tillName());
    if (!session) {
        SayNoOpenSession(context);
        return;
    }
    const std::optional<SessionFigures> figures = ReadSessionFigures(db, *session);
    if (!figures)
        return;
    ShowReportText(context, context.window(), TranslateText("X Report"),
                   XReportText(*figures, context.receipts.CurrencySymbol));
}

void OpenCashDrawerCommand(AppContext& context)
{
    if (!context.CheckAdmin())
        return;
    const ReceiptPrinterSettings printer = CurrentReceiptPrinter(context);
    if (!printer.drawerAttached()) {
        context.dialogs().warning(context.window(), TranslateText("WARNING"),
                                  TranslateText("No cash drawer is set up."));
        return;
    }
    OpenCashDrawerOn(printer, context.window());
    RecordCashMovement(context.SQLConnection1(), CashMovementKind::Drawer, 0, QString());
}

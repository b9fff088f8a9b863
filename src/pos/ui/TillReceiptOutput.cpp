#include "pos/ui/TillReceiptOutput.h"

#include "app/AppContext.h"
#include "core/AppError.h"
#include "platform/Environment.h"
#include "pos/ui/ReceiptFiles.h"
#include "pos/ui/ReceiptPrinting.h"

#include <utility>

TillReceiptOutput::TillReceiptOutput(AppContext& context, QWidget* parent, QString printJobTitle)
    : m_context(context)
    , m_parent(parent)
    , m_printJobTitle(std::move(printJobTitle))
    , m_printer(CurrentReceiptPrinter(context))
{
}

bool TillReceiptOutput::hasCashDrawer() const
{
    return m_printer.drawerAttached();
}

OutputResult TillReceiptOutput::print(const QString& receiptText, bool openDrawer)
{
    ReceiptPrintJob job(receiptText, m_printJobTitle);
    job.openDrawer = openDrawer;
    try {
        const bool printed = PrintReceiptOn(m_printer, m_parent, m_context.dialogs(), m_context.env().ansiCodePage(), job);
        return printed ? OutputResult::done() : OutputResult::cancelled();
    } catch (const AppError& failure) {
        return OutputResult::failed(failure.message());
    }
}

OutputResult TillReceiptOutput::openCashDrawer()
{
    try {
        OpenCashDrawerOn(m_printer, m_parent);
        return OutputResult::done();
    } catch (const AppError& failure) {
        return OutputResult::failed(failure.message());
    }
}

void TillReceiptOutput::save(qint64 receiptNumber, const QString& receiptText)
{
    FisKaydet(m_context, receiptText, receiptNumber);
}

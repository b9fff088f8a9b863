#include "cashup/ui/ReportTextWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/ui/ReceiptPrinting.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

ReportTextWindow::ReportTextWindow(AppContext& context, const QString& title, const QStringList& lines,
                                   QWidget* parent)
    : QDialog(parent ? parent : context.window())
    , m_context(context)
    , m_lines(lines)
{
    setObjectName(QStringLiteral("ReportTextWindow"));
    setWindowTitle(title);
    resize(460, 560);

    ReportText = new QPlainTextEdit(this);
    ReportText->setObjectName(QStringLiteral("ReportText"));
    ReportText->setAccessibleName(title);
    ReportText->setReadOnly(true);
    ReportText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReportText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ReportText->setPlainText(lines.join(QLatin1Char('\n')));
    // Tab leaves the report for the buttons.
    ReportText->setTabChangesFocus(true);

    PrintButton = new QPushButton(TranslateText("Print"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    CloseButton = new QPushButton(TranslateText("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(PrintButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ReportText, 1);
    layout->addLayout(buttons);

    connect(PrintButton, &QPushButton::clicked, this, Guarded(m_context, this, &ReportTextWindow::PrintClick));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    ReportText->setFocus();
}

QString ReportTextWindow::text() const
{
    return ReportText->toPlainText();
}

void ReportTextWindow::PrintClick()
{
    PrintReportLines(m_context, this, windowTitle(), m_lines);
}

bool PrintReportLines(AppContext& context, QWidget* parent, const QString& title, const QStringList& lines)
{
    ReceiptPrintJob job(lines.join(QStringLiteral("\r\n")), title);
    job.translateError = true;
    return PrintReceipt(context, parent, job);
}

void ShowReportText(AppContext& context, QWidget* parent, const QString& title, const QStringList& lines)
{
    ReportTextWindow window(context, title, lines, parent);
    context.dialogs().execModal(window);
}

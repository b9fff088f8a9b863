#include "cashup/ui/TillCashWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "cashup/ui/OkCancelRow.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Money.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TillCashWindow::TillCashWindow(AppContext& context, Purpose purpose)
    : QDialog(context.window())
    , m_context(context)
    , m_purpose(purpose)
{
    setObjectName(QStringLiteral("TillCashWindow"));
    setWindowTitle(purpose == Purpose::Float    ? TranslateText("Open Till")
                   : purpose == Purpose::CashIn ? TranslateText("Cash In")
                                                : TranslateText("Cash Out"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* form = new QFormLayout;
    AmountEdit = new QLineEdit(this);
    AmountEdit->setObjectName(QStringLiteral("AmountEdit"));
    AmountEdit->setAlignment(Qt::AlignRight);
    const QString amountCaption = purpose == Purpose::Float ? TranslateText("Float counted into the drawer:")
                                                            : TranslateText("Amount:");
    AmountEdit->setAccessibleName(amountCaption);
    auto* currency = new QLabel(m_context.receipts.CurrencySymbol, this);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(currency);
    amountRow->addWidget(AmountEdit, 1);
    form->addRow(amountCaption, amountRow);
    if (purpose != Purpose::Float) {
        ReasonEdit = new QLineEdit(this);
        ReasonEdit->setObjectName(QStringLiteral("ReasonEdit"));
        ReasonEdit->setAccessibleName(TranslateText("Reason:"));
        ReasonEdit->setMinimumWidth(260);
        form->addRow(TranslateText("Reason:"), ReasonEdit);
    }
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(amountRow)))
        label->setBuddy(AmountEdit);

    const OkCancelRow buttons(this, TranslateText("OK"));
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.layout);

    connect(OkButton, &QPushButton::clicked, this, Guarded(m_context, this, &TillCashWindow::OkButtonClick));
    AmountEdit->setFocus();
}

QString TillCashWindow::reason() const
{
    return ReasonEdit ? ReasonEdit->text().trimmed() : QString();
}

void TillCashWindow::OkButtonClick()
{
    const std::optional<qint64> cents = ReadAmountCents(AmountEdit->text());
    const bool allowed = cents && (m_purpose == Purpose::Float || *cents > 0);
    if (!allowed) {
        m_context.dialogs().warning(this, TranslateText("WARNING"),
                                    m_purpose == Purpose::Float ? TranslateText("Enter the amount counted, as 100 or 100.00.")
                                                                : TranslateText("Enter an amount above zero, as 20 or 20.00."));
        AmountEdit->selectAll();
        AmountEdit->setFocus();
        return;
    }
    m_amountCents = *cents;
    accept();
}

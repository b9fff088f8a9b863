#include "pos/ui/RefundStartWindow.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Refund.h"
#include "pos/ui/RefundWindow.h"
#include "store/SaleRecordsTable.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

RefundStartWindow::RefundStartWindow(AppContext& context)
    : QDialog(context.window()), m_till(context.SQLConnection1().tillName())
{
    setObjectName(QStringLiteral("RefundStartWindow"));
    setWindowTitle(TranslateText("Refund"));
    Database& db = context.SQLConnection1();

    ReceiptNumberEdit = new QLineEdit(this);
    ReceiptNumberEdit->setObjectName(QStringLiteral("ReceiptNumberEdit"));
    ReceiptNumberEdit->setAccessibleName(TranslateText("Receipt number:"));
    ReceiptNumberEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,18}")), ReceiptNumberEdit));
    HintLabel = new QLabel(TranslateText("Leave the receipt number empty to refund without a receipt."), this);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    HintLabel->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(TranslateText("Receipt number:"), ReceiptNumberEdit);
    if (db.recordsTill()) {
        TillCombo = new QComboBox(this);
        TillCombo->setObjectName(QStringLiteral("TillCombo"));
        TillCombo->setAccessibleName(TranslateText("Till:"));
        TillCombo->addItem(m_till);
        for (const QString& till : SaleRecordsTable(db).tills())
            if (till != m_till)
                TillCombo->addItem(till);
        form->addRow(TranslateText("Till:"), TillCombo);
    }

    OkButton = new QPushButton(TranslateText("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(TranslateText("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(HintLabel);
    layout->addLayout(buttons);

    if (TillCombo)
        setTabOrder(ReceiptNumberEdit, TillCombo);
    setTabOrder(TillCombo ? static_cast<QWidget*>(TillCombo) : ReceiptNumberEdit, OkButton);
    setTabOrder(OkButton, CancelButton);

    // Enter takes the number (OK is the default button); Esc cancels.
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(360);
    ReceiptNumberEdit->setFocus();
}

std::optional<qint64> RefundStartWindow::receiptNumber() const
{
    bool ok = false;
    const qint64 number = ReceiptNumberEdit->text().toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

QString RefundStartWindow::till() const
{
    return TillCombo ? TillCombo->currentText() : m_till;
}

void RefundCommand(AppContext& context)
{
    RefundStartWindow start(context);
    if (context.dialogs().execModal(start) != QDialog::Accepted)
        return;
    const std::optional<qint64> number = start.receiptNumber();
    if (!number) {
        if (!context.isAdmin()) {
            context.dialogs().warning(context.window(), TranslateText("WARNING"),
                                      TranslateText("Only an administrator can refund without a receipt."));
            return;
        }
        RefundWindow window(context);
        context.dialogs().execModal(window);
        return;
    }
    Database& db = context.SQLConnection1();
    const std::optional<QString> saleId = FindRefundableSale(db, start.till(), *number);
    if (!saleId) {
        if (db.isOpen())
            context.dialogs().information(context.window(), TranslateText("Refund"),
                                          TranslateText("There is no sale with this receipt number."));
        return;
    }
    OpenRefundWindow(context, *saleId);
}

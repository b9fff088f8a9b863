#include "pos/ui/PaymentWindow.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/Payment.h"
#include "pos/TenderTexts.h"
#include "pos/TillTenderTypes.h"
#include "pos/ui/CompleteSale.h"
#include "pos/Sale.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

PaymentWindow::PaymentWindow(AppContext& context, Sale& sale, qint64 totalCents, const QStringList& typeCodes)
    : QDialog(context.window())
    , m_context(context)
    , m_sale(sale)
    , m_split(totalCents, typeCodes)
{
    setObjectName(QStringLiteral("PaymentWindow"));
    setWindowTitle(TranslateText("Payment"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    QFont large = font();
    large.setPointSize(14);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const QString& code : typeCodes) {
        QLabel* caption = NamedLabel(this, QStringLiteral("LabelAmount") + code, TenderTypeCaption(code) + QLatin1Char(':'));
        auto* amount = new QLineEdit(this);
        amount->setObjectName(QStringLiteral("EditAmount") + code);
        amount->setAlignment(Qt::AlignRight);
        amount->setFont(large);
        caption->setFont(large);
        caption->setBuddy(amount);
        grid->addWidget(caption, row, 0);
        grid->addWidget(amount, row, 1);
        connect(amount, &QLineEdit::textChanged, this, [this] { amountChanged(); });
        m_amounts.push_back(amount);
        ++row;
    }
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    grid->addWidget(line, row++, 0, 1, 2);
    const auto figure = [&](const QString& name, const char* caption, QLabel*& value) {
        QLabel* label = NamedLabel(this, QStringLiteral("Label") + name, TranslateText(caption));
        value = NamedLabel(this, QStringLiteral("Label") + name + QStringLiteral("Value"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont bold = large;
        bold.setBold(true);
        label->setFont(large);
        value->setFont(bold);
        // A screen reader reads the figure by the caption beside it.
        value->setAccessibleName(label->text());
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    };
    figure(QStringLiteral("Total"), "Total:", LabelTotalValue);
    figure(QStringLiteral("Remaining"), "Remaining:", LabelRemainingValue);
    figure(QStringLiteral("Change"), "Change:", LabelChangeValue);

    ButtonComplete = new QPushButton(TranslateText("Complete Sale"), this);
    ButtonComplete->setObjectName(QStringLiteral("ButtonComplete"));
    ButtonComplete->setDefault(true);
    ButtonCancel = new QPushButton(TranslateText("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonComplete);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // Esc rejects the window as Cancel does.
    connect(ButtonComplete, &QPushButton::clicked, this, Guarded(m_context, this, &PaymentWindow::ButtonCompleteClick));
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    LabelTotalValue->setText(CentsWithSymbol(m_context.receipts.CurrencySymbol, totalCents));
    amountChanged();
    setMinimumWidth(380);
    if (!m_amounts.empty())
        m_amounts.front()->setFocus();
}

void PaymentWindow::amountChanged()
{
    for (size_t i = 0; i < m_amounts.size(); ++i)
        m_split.setAmountText(m_split.typeCodes().at(qsizetype(i)), m_amounts[i]->text());
    const QString symbol = m_context.receipts.CurrencySymbol;
    LabelRemainingValue->setText(CentsWithSymbol(symbol, m_split.remainingCents()));
    LabelChangeValue->setText(CentsWithSymbol(symbol, m_split.changeCents()));
    ButtonComplete->setEnabled(m_split.canComplete());
}

void PaymentWindow::ButtonCompleteClick()
{
    if (!m_split.canComplete())
        return;
    // Nothing stored (the reason has been shown): the window and the sale stay for another try.
    if (CompleteSale(m_context, m_sale, Payment::split(m_split.tenders()), this, TranslateText("Payment"),
                     MainWindowTitle(m_context)))
        accept();
}

void SplitPaymentCheckout(AppContext& context, Sale& sale)
{
    const qint64 totalCents = SplitPayment::totalCentsOf(sale.checkoutLines());
    const std::optional<std::vector<TenderType>> types = TenderTypesTable(context.SQLConnection1()).all();
    if (!types)
        return;
    PaymentWindow window(context, sale, totalCents, OfferedTenderTypes(*types));
    context.dialogs().execModal(window);
}

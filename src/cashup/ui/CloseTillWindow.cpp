#include "cashup/ui/CloseTillWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "cashup/ui/OkCancelRow.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Money.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

CloseTillWindow::CloseTillWindow(AppContext& context)
    : QDialog(context.window())
    , m_context(context)
    , m_denominations(DrawerDenominations(context.receipts.CurrencySymbol))
{
    setObjectName(QStringLiteral("CloseTillWindow"));
    setWindowTitle(TranslateText("Close Till"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const QString& symbol = m_context.receipts.CurrencySymbol;

    auto* intro = new QLabel(TranslateText("Count the cash in the drawer."), this);
    CountByTotal = new QRadioButton(TranslateText("Count the total"), this);
    CountByTotal->setObjectName(QStringLiteral("CountByTotal"));
    CountByTotal->setChecked(true);
    TotalEdit = new QLineEdit(this);
    TotalEdit->setObjectName(QStringLiteral("TotalEdit"));
    TotalEdit->setAlignment(Qt::AlignRight);
    TotalEdit->setAccessibleName(TranslateText("Counted cash"));
    auto* totalRow = new QHBoxLayout;
    totalRow->addSpacing(24);
    totalRow->addWidget(new QLabel(symbol, this));
    totalRow->addWidget(TotalEdit, 1);

    CountByPieces = new QRadioButton(TranslateText("Count notes and coins"), this);
    CountByPieces->setObjectName(QStringLiteral("CountByPieces"));
    PiecesBox = new QGroupBox(this);
    PiecesBox->setObjectName(QStringLiteral("PiecesBox"));
    PiecesBox->setAccessibleName(TranslateText("Count notes and coins"));
    auto* grid = new QGridLayout(PiecesBox);
    const QString notes = TranslateText("Notes");
    const QString coins = TranslateText("Coins");
    grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(notes), PiecesBox), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(coins), PiecesBox), 0, 2, 1, 2);
    int noteRow = 1;
    int coinRow = 1;
    for (const Denomination& denomination : m_denominations) {
        const QString caption = DenominationText(denomination);
        auto* count = new QSpinBox(PiecesBox);
        count->setObjectName((denomination.coin ? QStringLiteral("CoinCount") : QStringLiteral("NoteCount"))
                             + QString::number(denomination.cents));
        count->setRange(0, 99999);
        count->setAccessibleName((denomination.coin ? coins : notes) + QLatin1Char(' ') + caption);
        auto* label = new QLabel(symbol + QLatin1Char(' ') + caption, PiecesBox);
        label->setBuddy(count);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int column = denomination.coin ? 2 : 0;
        int& row = denomination.coin ? coinRow : noteRow;
        grid->addWidget(label, row, column);
        grid->addWidget(count, row, column + 1);
        ++row;
        connect(count, &QSpinBox::valueChanged, this, Guarded(m_context, this, &CloseTillWindow::PiecesChange));
        m_pieces.push_back(count);
    }
    auto* countedCaption = new QLabel(TranslateText("Counted cash") + QLatin1Char(':'), PiecesBox);
    CountedValue = new QLabel(PiecesBox);
    CountedValue->setObjectName(QStringLiteral("CountedValue"));
    CountedValue->setAccessibleName(TranslateText("Counted cash"));
    CountedValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int last = std::max(noteRow, coinRow);
    grid->addWidget(countedCaption, last, 0, 1, 3, Qt::AlignRight);
    grid->addWidget(CountedValue, last, 3);

    const OkCancelRow buttons(this, TranslateText("Close Till"));
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(CountByTotal);
    layout->addLayout(totalRow);
    layout->addWidget(CountByPieces);
    layout->addWidget(PiecesBox);
    layout->addLayout(buttons.layout);

    connect(CountByTotal, &QRadioButton::toggled, this, Guarded(m_context, this, &CloseTillWindow::CountKindChange));
    connect(OkButton, &QPushButton::clicked, this, Guarded(m_context, this, &CloseTillWindow::OkButtonClick));
    CountKindChange();
    PiecesChange();
    TotalEdit->setFocus();
}

void CloseTillWindow::CountKindChange()
{
    const bool byTotal = CountByTotal->isChecked();
    TotalEdit->setEnabled(byTotal);
    PiecesBox->setEnabled(!byTotal);
    if (byTotal)
        TotalEdit->setFocus();
    else if (!m_pieces.empty())
        m_pieces.front()->setFocus();
}

void CloseTillWindow::PiecesChange()
{
    const std::optional<qint64> sum = piecesCents();
    CountedValue->setText(sum ? CentsWithSymbol(m_context.receipts.CurrencySymbol, *sum) : QString());
}

std::optional<qint64> CloseTillWindow::piecesCents() const
{
    std::vector<qint64> pieces;
    for (const QSpinBox* count : m_pieces)
        pieces.push_back(count->value());
    return DrawerCountCents(m_denominations, pieces);
}

std::optional<qint64> CloseTillWindow::enteredCents() const
{
    return CountByTotal->isChecked() ? ReadAmountCents(TotalEdit->text()) : piecesCents();
}

void CloseTillWindow::OkButtonClick()
{
    const std::optional<qint64> counted = enteredCents();
    if (!counted) {
        m_context.dialogs().warning(this, TranslateText("WARNING"),
                                    TranslateText("Enter the amount counted, as 100 or 100.00."));
        TotalEdit->selectAll();
        TotalEdit->setFocus();
        return;
    }
    const QString question = TranslateText("Close the till with %1 counted? The Z report is kept as it is and cannot be changed.")
                                 .arg(CentsWithSymbol(m_context.receipts.CurrencySymbol, *counted));
    if (!m_context.dialogs().askYesNo(this, windowTitle(), question, Dialogs::Icon::Question))
        return;
    m_countedCents = *counted;
    accept();
}

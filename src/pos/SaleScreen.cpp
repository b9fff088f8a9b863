#include "pos/SaleScreen.h"

#include "app/TAppForm.h"
#include "i18n/Translator.h"
#include "pos/Money.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>

SaleScreen::SaleScreen(TAppForm& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
{
    setObjectName(QStringLiteral("PanelMain"));

    BitBtn22 = new QPushButton(this);
    BitBtn22->setObjectName(QStringLiteral("BitBtn22"));
    BitBtn22->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BitBtn22->setCursor(Qt::PointingHandCursor);
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    QFont large = Edit4->font();
    large.setPointSize(16);
    Edit4->setFont(large);
    Image3 = new QLabel(QStringLiteral("×"), this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setFont(large);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 99999);
    SpinEdit1->setValue(1);
    SpinEdit1->setFont(large);
    BitBtn15 = new QPushButton(this);
    BitBtn15->setObjectName(QStringLiteral("BitBtn15"));
    BitBtn16 = new QPushButton(this);
    BitBtn16->setObjectName(QStringLiteral("BitBtn16"));

    auto* entryBar = new QHBoxLayout;
    entryBar->addWidget(BitBtn22);
    entryBar->addWidget(Edit4, 1);
    entryBar->addWidget(Image3);
    entryBar->addWidget(SpinEdit1);
    entryBar->addWidget(BitBtn15);
    entryBar->addWidget(BitBtn16);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(7);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    const int designWidths[] = {124, 124, 124, 124, 124, 170, 170};
    for (int i = 0; i < 7; ++i)
        ListView1->header()->resizeSection(i, designWidths[i]);

    Panel6 = new QWidget(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Label20 = new QLabel(Panel6);
    Label20->setObjectName(QStringLiteral("Label20"));
    Label20->setAlignment(Qt::AlignCenter);
    Memo1 = new QPlainTextEdit(Panel6);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setEnabled(false);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont bold = Memo1->font();
    bold.setBold(true);
    Memo1->setFont(bold);
    Edit7 = new QLineEdit(Panel6);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit7->setAlignment(Qt::AlignCenter);
    Label19 = new QLabel(QStringLiteral("0.00"), Panel6);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setAlignment(Qt::AlignCenter);
    auto* changeLayout = new QVBoxLayout(Panel6);
    changeLayout->setContentsMargins(4, 0, 0, 0);
    changeLayout->addWidget(Label20);
    changeLayout->addWidget(Memo1, 1);
    changeLayout->addWidget(Edit7);
    changeLayout->addWidget(Label19);
    Panel6->setFixedWidth(200);

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ListView1, 1);
    listRow->addWidget(Panel6);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    QFont totalFont = Label7->font();
    totalFont.setBold(true);
    totalFont.setPointSize(20);
    Label7->setFont(totalFont);
    Label7->setAlignment(Qt::AlignCenter);
    Label21 = new QLabel(QStringLiteral("0%"), this);
    Label21->setObjectName(QStringLiteral("Label21"));
    Button1 = new QPushButton(QStringLiteral("%"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto* totalsBar = new QHBoxLayout;
    totalsBar->addWidget(Label5);
    totalsBar->addWidget(Label7, 1);
    totalsBar->addWidget(Label21);
    totalsBar->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(entryBar);
    layout->addLayout(listRow, 1);
    layout->addLayout(totalsBar);
}

void SaleScreen::setCaptions()
{
    BitBtn15->setText(TranslateText("ADD"));
    BitBtn16->setText(TranslateText("DELETE"));
    BitBtn22->setToolTip(TranslateText("Product List"));
    BitBtn22->setAccessibleName(TranslateText("Product List"));
    ListView1->setHeaderLabels({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Price"),
                                TranslateText("Quantity"), TranslateText("Total"),
                                TranslateText("Discounted Price"), TranslateText("Discounted Total")});
    ListView1->setAccessibleName(TranslateText("Sale list"));
    Edit4->setAccessibleName(TranslateText("Barcode"));
    SpinEdit1->setAccessibleName(TranslateText("Quantity"));
    Edit7->setAccessibleName(TranslateText("Amount tendered"));
    Label5->setText(TranslateText("GRAND TOTAL:"));
    Button1->setToolTip(TranslateText("Discount"));
    Button1->setAccessibleName(TranslateText("Discount"));
    Label20->setText(TranslateText("Change:"));
}

void SaleScreen::FiyatHesapla()
{
    GrandTotal = 0;
    Label7->setText(MoneyWithSymbol(m_main.CurrencySymbol, GrandTotal));
}

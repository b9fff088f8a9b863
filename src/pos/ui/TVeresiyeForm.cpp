#include "pos/ui/TVeresiyeForm.h"

#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "catalogue/Pictures.h"
#include "i18n/Translator.h"
#include "pos/Payment.h"
#include "pos/ui/CompleteSale.h"
#include "store/CustomersTable.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TVeresiyeForm::TVeresiyeForm(AppContext& context, Sale& sale)
    : QDialog(context.window())
    , m_context(context)
    , m_sale(sale)
{
    setObjectName(QStringLiteral("VeresiyeForm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setPixmap(CustomersPicture(64));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    Label1->setBuddy(ComboBox1);
    QFont large = font();
    large.setPointSize(14);
    Label1->setFont(large);
    ComboBox1->setFont(large);
    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* fields = new QVBoxLayout;
    fields->addWidget(Label1);
    fields->addWidget(ComboBox1);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(fields, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // Esc rejects the dialog as Cancel does.
    connect(BitBtn1, &QPushButton::clicked, this, Guarded(m_context, this, &TVeresiyeForm::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    FormCreate();

    setFixedSize(qMax(420, sizeHint().width()), sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TVeresiyeForm::~TVeresiyeForm() = default;

void TVeresiyeForm::FormCreate()
{
    setWindowTitle(TranslateText("Sell by Credit"));
    Label1->setText(TranslateText("Which Customer?"));
    BitBtn1->setText(TranslateText("OK"));
    BitBtn2->setText(TranslateText("Cancel"));

    for (const CustomerRecord& customer : CustomersTable(m_context.SQLConnection1()).all()) {
        ComboBox1->addItem(customer.name);
        CustomerIds << QString::number(customer.id);
    }
    ComboBox1->setCurrentIndex(-1);
}

void TVeresiyeForm::BitBtn1Click()
{
    const int chosen = ComboBox1->currentIndex();
    if (ComboBox1->currentText().isEmpty() || chosen < 0 || chosen >= CustomerIds.size())
        return;
    // Nothing stored (the reason has been shown): the window and the list stay for another try.
    const CreditCustomer customer{CustomerIds.at(chosen).toLongLong(), ComboBox1->currentText()};
    if (CompleteSale(m_context, m_sale, Payment::onAccount(customer), this, TranslateText("Sell by Credit")))
        accept();
}

void TVeresiyeForm::BitBtn2Click()
{
    reject();
}

void SellByCredit(AppContext& context, Sale& sale)
{
    TVeresiyeForm window(context, sale);
    context.dialogs().execModal(window);
}

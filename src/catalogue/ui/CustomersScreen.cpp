#include "catalogue/ui/CustomersScreen.h"

#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "catalogue/Pictures.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/TenderTexts.h"
#include "pos/TillTenderTypes.h"
#include "catalogue/CreditSettlement.h"
#include "store/CustomersTable.h"
#include "store/TenderTypesTable.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// fiyat × adet of a credit line, from the texts the database gave.
double lineTotal(const QString& price, const DbValue& quantity)
{
    return ReadNumber(price) * double(quantity.asInteger());
}

} // namespace

CustomersScreen::CustomersScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("PanelCustomer"));

    const auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };

    ComboBox2 = new QComboBox(this);
    named(ComboBox2, "ComboBox2");
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setCompleter(nullptr);
    m_customerLabel = new QLabel(this);
    named(m_customerLabel, "LabelCustomer");
    m_customerLabel->setBuddy(ComboBox2);
    Label8 = new QLabel(this);
    named(Label8, "Label8");
    Edit6 = new QLineEdit(this);
    named(Edit6, "Edit6");
    Label8->setBuddy(Edit6);
    Label9 = new QLabel(this);
    named(Label9, "Label9");
    Edit1 = new QLineEdit(this);
    named(Edit1, "Edit1");
    Label9->setBuddy(Edit1);
    for (QLineEdit* box : {Edit6, Edit1}) {
        box->setReadOnly(true);
        box->setEnabled(false);
    }
    Edit1->setText(QStringLiteral("0.00"));
    BitBtn13 = new QPushButton(this);
    named(BitBtn13, "BitBtn13");
    BitBtn6 = new QPushButton(this);
    named(BitBtn6, "BitBtn6");
    BitBtn11 = new QPushButton(this);
    named(BitBtn11, "BitBtn11");
    BitBtn12 = new QPushButton(this);
    named(BitBtn12, "BitBtn12");

    QFont large = font();
    large.setPointSize(14);
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox2, Edit6, Edit1, BitBtn13, BitBtn6, BitBtn11, BitBtn12})
        w->setFont(large);

    auto* fields = new QGridLayout;
    fields->addWidget(m_customerLabel, 0, 0);
    fields->addWidget(ComboBox2, 0, 1, 1, 2);
    fields->addWidget(Label8, 1, 0);
    fields->addWidget(Edit6, 1, 1, 1, 2);
    fields->addWidget(Label9, 2, 0);
    fields->addWidget(Edit1, 2, 1);
    fields->addWidget(BitBtn13, 2, 2);
    auto* actions = new QHBoxLayout;
    actions->addWidget(BitBtn6);
    actions->addWidget(BitBtn11);
    fields->addLayout(actions, 3, 0, 1, 3);
    fields->addWidget(BitBtn12, 4, 0, 1, 3);
    fields->setRowStretch(5, 1);

    Image2 = new QLabel(this);
    named(Image2, "Image2");
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setPixmap(CustomersPicture(192));

    Panel10 = new QWidget(this);
    named(Panel10, "Panel10");
    CheckListBox1 = new QListWidget(Panel10);
    named(CheckListBox1, "CheckListBox1");
    CheckListBox1->setUniformItemSizes(true);
    CheckListBox1->setAccessibleName(TranslateText("Open credit lines"));
    Label11 = new QLabel(Panel10);
    named(Label11, "Label11");
    Label10 = new QLabel(QStringLiteral("0.00"), Panel10);
    named(Label10, "Label10");
    BitBtn14 = new QPushButton(Panel10);
    named(BitBtn14, "BitBtn14");
    BitBtn7 = new QPushButton(Panel10);
    named(BitBtn7, "BitBtn7");
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(Label11);
    totalRow->addWidget(Label10, 1);
    LabelPaidBy = new QLabel(Panel10);
    named(LabelPaidBy, "LabelPaidBy");
    ComboBoxPaidBy = new QComboBox(Panel10);
    named(ComboBoxPaidBy, "ComboBoxPaidBy");
    LabelPaidBy->setBuddy(ComboBoxPaidBy);
    auto* paidByRow = new QHBoxLayout;
    paidByRow->addWidget(LabelPaidBy);
    paidByRow->addWidget(ComboBoxPaidBy, 1);
    auto* detailButtons = new QHBoxLayout;
    detailButtons->addWidget(BitBtn14);
    detailButtons->addWidget(BitBtn7);
    auto* details = new QVBoxLayout(Panel10);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(CheckListBox1, 1);
    details->addLayout(totalRow);
    details->addLayout(paidByRow);
    details->addLayout(detailButtons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(Image2, 1);
    layout->addWidget(Panel10, 1);

    connect(ComboBox2, &QComboBox::editTextChanged, this, Guarded(m_context, this, &CustomersScreen::ComboBox2Change));
    connect(BitBtn6, &QPushButton::clicked, this, Guarded(m_context, this, &CustomersScreen::BitBtn6Click));
    connect(BitBtn11, &QPushButton::clicked, this, Guarded(m_context, this, &CustomersScreen::BitBtn11Click));
    connect(BitBtn13, &QPushButton::clicked, this, Guarded(m_context, this, &CustomersScreen::BitBtn13Click));
    connect(BitBtn14, &QPushButton::clicked, this, Guarded(m_context, this, &CustomersScreen::BitBtn14Click));
    connect(BitBtn7, &QPushButton::clicked, this, Guarded(m_context, this, &CustomersScreen::BitBtn7Click));
    connect(BitBtn12, &QPushButton::clicked, this, [this] { m_context.showSaleScreen(); });
    ComboBox2->installEventFilter(this);
    ComboBox2->lineEdit()->installEventFilter(this);

    showCustomerFields(false);
    showDetails(false);
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(false);
}

void CustomersScreen::setCaptions()
{
    m_customerLabel->setText(TranslateText("CUSTOMER:"));
    Label8->setText(TranslateText("RECORD DATE:"));
    Label9->setText(TranslateText("CREDIT:"));
    BitBtn13->setText(TranslateText("DETAILS"));
    BitBtn6->setText(TranslateText("ADD"));
    BitBtn11->setText(TranslateText("DELETE CUSTOMER"));
    BitBtn12->setText(TranslateText("MAIN MENU"));
    Label11->setText(TranslateText("TOTAL:"));
    BitBtn14->setText(TranslateText("Select All"));
    BitBtn7->setText(TranslateText("PAID"));
    LabelPaidBy->setText(TranslateText("Paid by:"));
    for (int i = 0; i < ComboBoxPaidBy->count(); ++i)
        ComboBoxPaidBy->setItemText(i, TenderTypeCaption(ComboBoxPaidBy->itemData(i).toString()));
}

void CustomersScreen::fillPaidBy()
{
    ComboBoxPaidBy->clear();
    for (const QString& code :
         OfferedTenderTypes(TenderTypesTable(m_context.SQLConnection1()).all().value_or(std::vector<TenderType>())))
        ComboBoxPaidBy->addItem(TenderTypeCaption(code), code);
    ComboBoxPaidBy->setCurrentIndex(0);
}

bool CustomersScreen::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == ComboBox2 || watched == ComboBox2->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (BitBtn6->isEnabled())
                BitBtn6->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CustomersScreen::showCustomerFields(bool visible)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label8, Edit6, Label9, Edit1, BitBtn13})
        w->setVisible(visible);
}

void CustomersScreen::showDetails(bool visible)
{
    Panel10->setVisible(visible);
    Image2->setVisible(!visible);
}

void CustomersScreen::setCustomerText(const QString& text)
{
    const QSignalBlocker blocker(ComboBox2);
    ComboBox2->setEditText(text);
}

void CustomersScreen::focusCustomer()
{
    ComboBox2->setFocus();
    ComboBox2->lineEdit()->selectAll();
}

void CustomersScreen::prepare()
{
    showCustomerFields(false);
    {
        const QSignalBlocker blocker(ComboBox2);
        ComboBox2->clear();
        ComboBox2->setEditText(QString());
    }
    Edit6->clear();
    Edit1->setText(QStringLiteral("0.00"));
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(false);
    showDetails(false);
    fillPaidBy();

    const QStringList names = CustomersTable(m_context.SQLConnection1()).names();
    {
        const QSignalBlocker blocker(ComboBox2);
        ComboBox2->addItems(names);
        ComboBox2->setCurrentIndex(-1);
        ComboBox2->setEditText(QString());
    }
    focusCustomer();
}

void CustomersScreen::ComboBox2Change()
{
    const QString name = ComboBox2->currentText();
    if (name.trimmed().isEmpty()) {
        showCustomerFields(false);
        BitBtn6->setEnabled(false);
        BitBtn11->setEnabled(false);
        return;
    }
    Database& db = m_context.SQLConnection1();
    const std::optional<std::vector<CustomerRecord>> found = CustomersTable(db).named(name);
    if (!found)
        return;
    if (found->empty()) {
        BitBtn6->setEnabled(true);
        BitBtn11->setEnabled(false);
        Edit1->setText(QStringLiteral("0"));
        showCustomerFields(false);
        return;
    }
    QString customer;
    for (const CustomerRecord& record : *found) {
        customer = record.name;
        const int cursor = ComboBox2->lineEdit()->cursorPosition();
        setCustomerText(customer);
        ComboBox2->lineEdit()->setCursorPosition(cursor);
        Edit6->setText(record.recorded);
        BitBtn6->setEnabled(false);
        BitBtn11->setEnabled(true);
        showCustomerFields(true);
        showDetails(false);
    }
    double total = 0;
    for (const CreditLineRecord& line : CreditLinesTable(db).openLinesOf(customer).value_or(std::vector<CreditLineRecord>()))
        total += lineTotal(line.price, line.quantity);
    Edit1->setText(MoneyText(total));
}

void CustomersScreen::BitBtn6Click()
{
    const QString name = ComboBox2->currentText();
    if (!CustomersTable(m_context.SQLConnection1()).insert(name))
        return;
    prepare();
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(true);
    setCustomerText(name);
    ComboBox2Change();
    focusCustomer();
}

void CustomersScreen::BitBtn11Click()
{
    // Decided on the shown total, so a customer whose open lines add up to less than half a cent may go.
    if (Edit1->text() != QLatin1String("0.00")) {
        m_context.dialogs().warning(m_context.window(), TranslateText("WARNING"),
                                    TranslateText("Customer with credit cannot be deleted!"));
        return;
    }
    if (!m_context.dialogs().askYesNo(m_context.window(), TranslateText("Delete Customer"),
                                      TranslateText("Are you sure?")))
        return;
    if (!CustomersTable(m_context.SQLConnection1()).remove(ComboBox2->currentText()))
        return;
    prepare();
    if (ComboBox2->count() > 0) {
        {
            const QSignalBlocker blocker(ComboBox2);
            ComboBox2->setCurrentIndex(0);
        }
        ComboBox2Change();
    }
    focusCustomer();
}

void CustomersScreen::BitBtn13Click()
{
    showDetails(true);
    Label10->setText(QStringLiteral("0.00"));
    CheckListBox1->clear();
    m_lines.clear();

    const std::optional<std::vector<CreditLineRecord>> open =
        CreditLinesTable(m_context.SQLConnection1()).openLinesOf(ComboBox2->currentText());
    if (!open || open->empty())
        return;
    double total = 0;
    for (const CreditLineRecord& line : *open) {
        const double amount = lineTotal(line.price, line.quantity);
        total += amount;
        auto* item = new QListWidgetItem(line.recorded + QLatin1Char(' ') + line.quantity.asText()
                                         + QStringLiteral(" * ") + line.name + QStringLiteral(" = ")
                                         + MoneyText(amount));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        CheckListBox1->addItem(item);
        m_lines.push_back(line);
    }
    Label10->setText(MoneyText(total));
}

void CustomersScreen::BitBtn14Click()
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(Qt::Checked);
}

void CustomersScreen::BitBtn7Click()
{
    if (!m_context.dialogs().askYesNo(m_context.window(), TranslateText("Sell by Credit"),
                                      TranslateText("Are you sure?")))
        return;
    std::vector<CreditLineRecord> checked;
    for (int i = 0; i < CheckListBox1->count() && size_t(i) < m_lines.size(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            checked.push_back(m_lines[size_t(i)]);
    if (!checked.empty()) {
        const QString paidBy = ComboBoxPaidBy->currentIndex() >= 0 ? ComboBoxPaidBy->currentData().toString() : kCashTender;
        const CreditSettlement settlement = SettleCreditLines(m_context.SQLConnection1(), ComboBox2->currentText(), checked, paidBy);
        if (settlement.stored && settlement.settledElsewhere > 0) {
            const QString told =
                settlement.settled == 0
                    ? TranslateText("These lines were settled on another till in the meantime. Nothing was settled.")
                    : TranslateText("Some of the lines were settled on another till in the meantime. They were not paid again.");
            m_context.dialogs().information(m_context.window(), TranslateText("Sell by Credit"), told);
        }
    }
    BitBtn13Click();
    Edit1->setText(Label10->text());
}

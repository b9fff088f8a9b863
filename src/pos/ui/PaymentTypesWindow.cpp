#include "pos/ui/PaymentTypesWindow.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "i18n/Translator.h"
#include "pos/TenderTexts.h"
#include "pos/TillTenderTypes.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

PaymentTypesWindow::PaymentTypesWindow(AppContext& context)
    : QDialog(context.window())
    , m_context(context)
{
    setObjectName(QStringLiteral("PaymentTypesWindow"));
    setWindowTitle(TranslateText("Payment Types"));

    ListTypes = new QListWidget(this);
    ListTypes->setObjectName(QStringLiteral("ListTypes"));
    ListTypes->setAccessibleName(TranslateText("Payment Types"));
    LabelName = new QLabel(TranslateText("New payment type:"), this);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    LabelName->setBuddy(EditName);
    ButtonAdd = new QPushButton(TranslateText("Add"), this);
    ButtonAdd->setObjectName(QStringLiteral("ButtonAdd"));
    ButtonRemove = new QPushButton(TranslateText("Remove"), this);
    ButtonRemove->setObjectName(QStringLiteral("ButtonRemove"));
    ButtonClose = new QPushButton(TranslateText("Close"), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    for (QPushButton* button : {ButtonAdd, ButtonRemove, ButtonClose})
        button->setAutoDefault(false);

    auto* adding = new QHBoxLayout;
    adding->addWidget(LabelName);
    adding->addWidget(EditName, 1);
    adding->addWidget(ButtonAdd);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonRemove);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListTypes, 1);
    layout->addLayout(adding);
    layout->addLayout(buttons);

    connect(ButtonAdd, &QPushButton::clicked, this, Guarded(m_context, this, &PaymentTypesWindow::ButtonAddClick));
    connect(EditName, &QLineEdit::returnPressed, this, Guarded(m_context, this, &PaymentTypesWindow::ButtonAddClick));
    connect(ButtonRemove, &QPushButton::clicked, this, Guarded(m_context, this, &PaymentTypesWindow::ButtonRemoveClick));
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListTypes, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_context.runGuarded([this, item] { ListTypesItemChanged(item); });
    });
    connect(ListTypes, &QListWidget::currentRowChanged, this, [this] { showChosen(); });

    load();
    resize(420, 320);
}

int PaymentTypesWindow::showModalFor(AppContext& context)
{
    PaymentTypesWindow window(context);
    return context.dialogs().execModal(window);
}

void PaymentTypesWindow::load()
{
    const QString chosen = chosenType() ? chosenType()->code : QString();
    const QSignalBlocker quiet(ListTypes);
    ListTypes->clear();
    m_allTypes = TenderTypesTable(m_context.SQLConnection1()).all().value_or(std::vector<TenderType>());
    m_types.clear();
    for (const TenderType& type : TillTenderTypes(m_allTypes)) {
        auto* item = new QListWidgetItem(TenderTypeCaption(type.code), ListTypes);
        // Cash is what the till always takes.
        item->setFlags(type.code == kCashTender ? Qt::ItemIsSelectable | Qt::ItemIsEnabled
                                                : Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(type.enabled ? Qt::Checked : Qt::Unchecked);
        m_types.push_back(type);
        if (type.code == chosen)
            ListTypes->setCurrentItem(item);
    }
    showChosen();
}

const TenderType* PaymentTypesWindow::chosenType() const
{
    const int row = ListTypes ? ListTypes->currentRow() : -1;
    return row >= 0 && size_t(row) < m_types.size() ? &m_types[size_t(row)] : nullptr;
}

void PaymentTypesWindow::showChosen()
{
    const TenderType* type = chosenType();
    ButtonRemove->setEnabled(type && !type->builtIn && !type->used);
}

void PaymentTypesWindow::ListTypesItemChanged(QListWidgetItem* item)
{
    const int row = ListTypes->row(item);
    if (row < 0 || size_t(row) >= m_types.size())
        return;
    TenderType& type = m_types[size_t(row)];
    const bool enabled = item->checkState() == Qt::Checked;
    if (enabled == type.enabled)
        return;
    if (TenderTypesTable(m_context.SQLConnection1()).setEnabled(type.code, enabled)) {
        type.enabled = enabled;
        return;
    }
    // Not stored (reported): the tick shows what is stored.
    const QSignalBlocker quiet(ListTypes);
    item->setCheckState(type.enabled ? Qt::Checked : Qt::Unchecked);
}

void PaymentTypesWindow::ButtonAddClick()
{
    const QString name = EditName->text().trimmed();
    if (TenderTypeNameTaken(name, m_allTypes)) {
        m_context.dialogs().beep();
        return;
    }
    if (!TenderTypesTable(m_context.SQLConnection1()).add(name))
        return;
    EditName->clear();
    load();
    ListTypes->setCurrentRow(ListTypes->count() - 1);
}

void PaymentTypesWindow::ButtonRemoveClick()
{
    const TenderType* type = chosenType();
    if (!type || type->builtIn || type->used)
        return;
    TenderTypesTable(m_context.SQLConnection1()).remove(type->code);
    load();
}

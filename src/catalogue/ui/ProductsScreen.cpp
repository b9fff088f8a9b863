#include "catalogue/ui/ProductsScreen.h"

#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "catalogue/Pictures.h"
#include "catalogue/ui/StockSpinBox.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "store/ProductsTable.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QValidator>

#include <algorithm>

namespace {

// Letters typed into the barcode box become capitals; texts set by the program stay as they are.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

ProductsScreen::ProductsScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("PanelProduct"));

    const auto makeLabel = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        return label;
    };
    const auto makeButton = [this](const QString& name) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        return button;
    };

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setValidator(new UpperCaseValidator(ComboBox1));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    SpinEdit2 = new StockSpinBox(this);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    Edit5 = new QLineEdit(this);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setReadOnly(true);
    Edit5->setEnabled(false);

    m_barcodeLabel = makeLabel(QStringLiteral("LabelBarcode"));
    m_nameLabel = makeLabel(QStringLiteral("LabelProductName"));
    m_priceLabel = makeLabel(QStringLiteral("LabelPrice"));
    Label16 = makeLabel(QStringLiteral("Label16"));
    Label6 = makeLabel(QStringLiteral("Label6"));
    m_barcodeLabel->setBuddy(ComboBox1);
    m_nameLabel->setBuddy(Edit2);
    m_priceLabel->setBuddy(Edit3);
    Label16->setBuddy(SpinEdit2);
    Label6->setBuddy(Edit5);

    BitBtn5 = makeButton(QStringLiteral("BitBtn5"));
    BitBtn8 = makeButton(QStringLiteral("BitBtn8"));
    BitBtn9 = makeButton(QStringLiteral("BitBtn9"));
    BitBtn10 = makeButton(QStringLiteral("BitBtn10"));

    QFont large = font();
    large.setPointSize(14);
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox1, Edit2, Edit3, SpinEdit2, Edit5, BitBtn5, BitBtn8,
                                                      BitBtn9, BitBtn10})
        w->setFont(large);

    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [label, field] : std::initializer_list<std::pair<QLabel*, QWidget*>>{
             {m_barcodeLabel, ComboBox1}, {m_nameLabel, Edit2}, {m_priceLabel, Edit3}, {Label16, SpinEdit2},
             {Label6, Edit5}}) {
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        ++row;
    }
    auto* actions = new QHBoxLayout;
    actions->addWidget(BitBtn5);
    actions->addWidget(BitBtn8);
    actions->addWidget(BitBtn9);
    fields->addLayout(actions, row++, 0, 1, 2);
    fields->addWidget(BitBtn10, row++, 0, 1, 2);
    fields->setRowStretch(row, 1);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProductsPicture"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(ProductsPicture(192));

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(picture, 1);

    connect(ComboBox1, &QComboBox::editTextChanged, this, Guarded(m_context, this, &ProductsScreen::ComboBox1Change));
    connect(BitBtn5, &QPushButton::clicked, this, Guarded(m_context, this, &ProductsScreen::BitBtn5Click));
    connect(BitBtn8, &QPushButton::clicked, this, Guarded(m_context, this, &ProductsScreen::BitBtn8Click));
    connect(BitBtn9, &QPushButton::clicked, this, Guarded(m_context, this, &ProductsScreen::BitBtn9Click));
    connect(BitBtn10, &QPushButton::clicked, this, [this] { m_context.showSaleScreen(); });
    for (QObject* o : std::initializer_list<QObject*>{ComboBox1, ComboBox1->lineEdit(), Edit2, Edit3, SpinEdit2})
        o->installEventFilter(this);

    showRecordDate(false);
    setActions(false, false);
}

void ProductsScreen::setCaptions()
{
    m_barcodeLabel->setText(TranslateText("BARCODE:"));
    m_nameLabel->setText(TranslateText("PRODUCT NAME:"));
    m_priceLabel->setText(TranslateText("PRICE:"));
    Label16->setText(TranslateText("STOCK BALANCE:"));
    Label6->setText(TranslateText("RECORD DATE:"));
    BitBtn5->setText(TranslateText("ADD"));
    BitBtn8->setText(TranslateText("UPDATE"));
    BitBtn9->setText(TranslateText("DELETE PRODUCT"));
    BitBtn10->setText(TranslateText("MAIN MENU"));
}

bool ProductsScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnter(event)) {
        if (watched == ComboBox1 || watched == ComboBox1->lineEdit()) {
            Edit2->setFocus();
            return true;
        }
        if (watched == Edit2) {
            Edit3->setFocus();
            return true;
        }
        if (watched == Edit3) {
            SpinEdit2->setFocus();
            return true;
        }
        if (watched == SpinEdit2) {
            if (BitBtn5->isEnabled())
                BitBtn5->setFocus();
            else if (BitBtn8->isEnabled())
                BitBtn8->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProductsScreen::showRecordDate(bool visible)
{
    Label6->setVisible(visible);
    Edit5->setVisible(visible);
}

void ProductsScreen::setActions(bool add, bool update)
{
    BitBtn5->setEnabled(add);
    BitBtn8->setEnabled(update);
    BitBtn9->setEnabled(update);
}

void ProductsScreen::setBarcodeText(const QString& text)
{
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setEditText(text);
}

void ProductsScreen::focusBarcode()
{
    ComboBox1->setFocus();
    ComboBox1->lineEdit()->selectAll();
}

void ProductsScreen::prepare()
{
    showRecordDate(false);
    {
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->clear();
        ComboBox1->setEditText(QString());
    }
    Edit2->clear();
    Edit3->clear();
    SpinEdit2->setValue(0);
    Edit5->clear();
    setActions(false, false);

    const QStringList barcodes = ProductsTable(m_context.SQLConnection1()).barcodes();
    {
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->addItems(barcodes);
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(QString());
    }
    focusBarcode();
}

void ProductsScreen::ComboBox1Change()
{
    const QString barcode = ComboBox1->currentText();
    if (barcode.trimmed().isEmpty()) {
        setActions(false, false);
        return;
    }
    const std::optional<std::vector<ProductRecord>> found = ProductsTable(m_context.SQLConnection1()).withBarcode(barcode);
    if (!found)
        return;
    if (found->empty()) {
        setActions(true, false);
        Edit2->clear();
        Edit3->clear();
        Edit5->clear();
        SpinEdit2->setValue(0);
        showRecordDate(false);
        return;
    }
    // Should several products share the barcode, the last one stays on screen.
    for (const ProductRecord& product : *found) {
        const int cursor = ComboBox1->lineEdit()->cursorPosition();
        setBarcodeText(product.barcode);
        ComboBox1->lineEdit()->setCursorPosition(cursor);
        Edit2->setText(product.name);
        Edit3->setText(MoneyText(product.price.asDouble()));
        SpinEdit2->setValue(int(std::clamp<qint64>(product.stock.asInteger(), 0, 999999)));
        m_stockRead = product.stock;
        Edit5->setText(product.recorded);
        setActions(false, true);
        showRecordDate(true);
    }
}

bool ProductsScreen::validEntry()
{
    Edit2->setText(Edit2->text().trimmed());
    Edit3->setText(Edit3->text().trimmed());
    Edit3->setText(Edit3->text().replace(QLatin1Char(','), QLatin1Char('.')));
    double price = 0;
    return !Edit2->text().isEmpty() && !Edit3->text().isEmpty() && TryReadNumber(Edit3->text(), price);
}

void ProductsScreen::BitBtn5Click()
{
    if (!validEntry()) {
        m_context.dialogs().warning(m_context.window(), TranslateText("WARNING"), TranslateText("Invalid Entry!"));
        return;
    }
    const QString barcode = ComboBox1->currentText();
    if (!ProductsTable(m_context.SQLConnection1()).insert(barcode, Edit2->text(), Edit3->text(),
                                                          SpinEdit2->typedValue()))
        return;
    prepare();
    setActions(false, true);
    setBarcodeText(barcode);
    ComboBox1Change();
    focusBarcode();
}

void ProductsScreen::BitBtn8Click()
{
    const QString priceText = Edit3->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    Edit3->setText(MoneyText(ReadNumber(priceText)));
    if (!validEntry()) {
        m_context.dialogs().warning(m_context.window(), TranslateText("WARNING"), TranslateText("Invalid Entry!"));
        return;
    }
    const qint64 stock = SpinEdit2->typedValue();
    switch (ProductsTable(m_context.SQLConnection1())
                .update(ComboBox1->currentText(), Edit2->text(), Edit3->text(), stock, m_stockRead)) {
    case ProductUpdate::Failed:
        return;
    case ProductUpdate::ChangedMeanwhile:
        m_context.dialogs().warning(m_context.window(), TranslateText("WARNING"),
                                    TranslateText("This product was changed on another till in the meantime. Nothing was saved; it is shown again as it is now."));
        ComboBox1Change();
        return;
    case ProductUpdate::Written:
        m_stockRead = DbValue(QVariant(stock));
        break;
    }
    focusBarcode();
}

void ProductsScreen::BitBtn9Click()
{
    if (!m_context.dialogs().askYesNo(m_context.window(), TranslateText("Delete Record"),
                                      TranslateText("Are you sure?")))
        return;
    if (!ProductsTable(m_context.SQLConnection1()).remove(ComboBox1->currentText()))
        return;
    prepare();
    if (ComboBox1->count() > 0) {
        {
            const QSignalBlocker blocker(ComboBox1);
            ComboBox1->setCurrentIndex(0);
        }
        ComboBox1Change();
    }
    focusBarcode();
}

#include "catalogue/ui/TUrunlerForm.h"

#include "app/AppContext.h"
#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "catalogue/Pictures.h"
#include "catalogue/ProductList.h"
#include "i18n/Translator.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

// Underlines the item under the mouse, as links are.
class HoverUnderlineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_MouseOver)
            option->font.setUnderline(true);
    }
};

} // namespace

TUrunlerForm::TUrunlerForm(AppContext& context, PickProduct pick, QWidget* parent)
    : QDialog(parent ? parent : context.window())
    , m_context(context)
    , m_pick(std::move(pick))
{
    setObjectName(QStringLiteral("UrunlerForm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(TranslateText("Search"));
    Label1->setBuddy(Edit1);

    m_model = new ProductListModel(this);
    m_model->setIcon(QIcon(ProductsPicture(48)));
    ListView1 = new QListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(TranslateText("Products"));
    ListView1->setModel(m_model);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setUniformItemSizes(true);
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setWrapping(true);
    ListView1->setWordWrap(true);
    // Laid out in batches, so a list of a hundred thousand products appears at once and fills in behind.
    ListView1->setLayoutMode(QListView::Batched);
    ListView1->setBatchSize(500);
    ListView1->setMouseTracking(true);
    ListView1->viewport()->setAttribute(Qt::WA_Hover);
    ListView1->viewport()->setCursor(Qt::PointingHandCursor);
    ListView1->setItemDelegate(new HoverUnderlineDelegate(ListView1));

    RadioButton1 = new QRadioButton(this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Edit1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(RadioButton1);
    bottom->addWidget(RadioButton2);
    bottom->addStretch(1);
    bottom->addWidget(CheckBox1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ListView1, 1);
    layout->addLayout(bottom);

    connect(Edit1, &QLineEdit::textChanged, this, Guarded(m_context, this, &TUrunlerForm::Edit1Change));
    connect(CheckBox1, &QCheckBox::clicked, this, Guarded(m_context, this, &TUrunlerForm::CheckBox1Click));
    connect(RadioButton1, &QRadioButton::clicked, this, Guarded(m_context, this, &TUrunlerForm::RadioButton1Click));
    connect(RadioButton2, &QRadioButton::clicked, this, Guarded(m_context, this, &TUrunlerForm::RadioButton2Click));
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (selected.indexes().isEmpty())
                    return;
                const QModelIndex index = selected.indexes().constFirst();
                m_context.runGuarded([this, index] { ListView1SelectItem(index); });
            });

    FormCreate();
}

TUrunlerForm::~TUrunlerForm() = default;

void TUrunlerForm::FormCreate()
{
    setWindowTitle(TranslateText("Select Product"));
    Label1->setText(TranslateText("Search:"));
    RadioButton1->setText(TranslateText("Big Icons"));
    RadioButton2->setText(TranslateText("List"));
    CheckBox1->setText(TranslateText("Display Prices"));
    setBigIcons();

    m_geometrySaving = false;
    m_searchReady = false;
    SettingsStore& settings = m_context.settings();
    const qint64 left = settings.integer(SettingKey::ProductsLeft);
    const qint64 top = settings.integer(SettingKey::ProductsTop);
    const qint64 width = settings.integer(SettingKey::ProductsWidth);
    const qint64 height = settings.integer(SettingKey::ProductsHeight);

    resize(698, 398);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    // A remembered place that is off the screen now (a smaller screen, say) is given up for the centre.
    const int x = left >= 0 && left < screenSize.width() ? int(left) : screenSize.width() / 2 - this->width() / 2;
    const int y = top >= 0 && top < screenSize.height() ? int(top) : screenSize.height() / 2 - this->height() / 2;
    move(x, y);
    resize(width > 0 ? int(width) : this->width(), height > 0 ? int(height) : this->height());

    m_geometrySaving = true;
    if (settings.integer(SettingKey::ProductsStyle) == 2) {
        RadioButton2->setChecked(true);
        RadioButton2Click();
    }
    if (settings.integer(SettingKey::DisplayPrices) == 1) {
        CheckBox1->setChecked(true);
        CheckBox1Click();
    }
    showProducts(QString());
    m_searchReady = true;
    Edit1->setFocus();
}

void TUrunlerForm::showProducts(const QString& searchText)
{
    std::vector<ProductListItem> items;
    QString readError;
    if (!LoadProductList(m_context.SQLConnection1(), searchText, CheckBox1->isChecked(), items, readError)
        && !readError.isEmpty())
        m_context.ReportDatabaseError(readError);
    m_model->setItems(std::move(items));
}

void TUrunlerForm::Edit1Change()
{
    if (m_searchReady)
        showProducts(Edit1->text());
}

void TUrunlerForm::CheckBox1Click()
{
    Edit1Change();
    m_context.settings().set(SettingKey::DisplayPrices, qint64(CheckBox1->isChecked() ? 1 : 0));
}

void TUrunlerForm::RadioButton1Click()
{
    setBigIcons();
    m_context.settings().set(SettingKey::ProductsStyle, qint64(1));
}

void TUrunlerForm::RadioButton2Click()
{
    setListStyle();
    m_context.settings().set(SettingKey::ProductsStyle, qint64(2));
}

void TUrunlerForm::setBigIcons()
{
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setMovement(QListView::Static);
    ListView1->setFlow(QListView::LeftToRight);
    ListView1->setIconSize(QSize(48, 48));
    ListView1->setGridSize(QSize(120, 96));
    ListView1->setSpacing(0);
}

void TUrunlerForm::setListStyle()
{
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(true);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setGridSize(QSize(220, 22));
    ListView1->setSpacing(0);
}

void TUrunlerForm::ListView1SelectItem(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // A product deleted meanwhile is not found: the picker stays.
    if (m_pick(index.data(ProductListModel::BarcodeRole).toString()))
        accept();
}

void TUrunlerForm::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (!m_geometrySaving)
        return;
    m_context.settings().set({{SettingKey::ProductsTop, qint64(y())}, {SettingKey::ProductsLeft, qint64(x())}});
}

void TUrunlerForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_geometrySaving)
        return;
    m_context.settings().set(
        {{SettingKey::ProductsWidth, qint64(width())}, {SettingKey::ProductsHeight, qint64(height())}});
}

void TUrunlerForm::done(int result)
{
    m_geometrySaving = false;
    QDialog::done(result);
}

void OpenProductPickerWindow(AppContext& context, TUrunlerForm::PickProduct pick)
{
    TUrunlerForm picker(context, std::move(pick));
    context.dialogs().execModal(picker);
}

#include "pos/ui/SaleScreen.h"

#include "catalogue/ui/TUrunlerForm.h"

#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/SaleTotals.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTextOption>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <limits>

namespace {

// Blanks and control characters off both ends.
QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// Draws each cell with a line along its right and bottom edges, so the sale list reads as a grid.
class GridLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

} // namespace

// The sale list. A scanner types the code and Enter into it: the typed characters go to the sale screen, not
// to the list's own keyboard search.
class SaleListView : public QTreeView
{
public:
    explicit SaleListView(SaleScreen& screen) : QTreeView(&screen), m_screen(screen) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QChar key;
        switch (event->key()) {
        case Qt::Key_Escape: key = QChar(27); break;
        case Qt::Key_Backspace: key = QChar(8); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: key = QChar(13); break;
        case Qt::Key_Delete: break;
        default:
            // One key can bring more than one UTF-16 unit (a character beyond the first 65536, such as an emoji,
            // is two); each goes to the pending code, none is dropped.
            if (event->text().size() > 1) {
                event->accept();
                const QString text = event->text();
                m_screen.m_context.runGuarded([&] {
                    for (const QChar unit : text)
                        m_screen.ListView1KeyPress(unit);
                });
                return;
            }
            if (!event->text().isEmpty())
                key = event->text().at(0);
            break;
        }
        if (key.isNull()) {
            QTreeView::keyPressEvent(event);
            return;
        }
        event->accept();
        m_screen.m_context.runGuarded([&] { m_screen.ListView1KeyPress(key); });
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QTreeView::mouseReleaseEvent(event);
        m_screen.m_context.runGuarded([&] { m_screen.ListView1Click(); });
    }

private:
    SaleScreen& m_screen;
};

SaleScreen::SaleScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
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

    ListView1 = new SaleListView(*this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(&m_list);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setItemDelegate(new GridLineDelegate(ListView1));
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
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QTextOption centred = Memo1->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(centred);
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

    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    QAbstractItemModel* model = ListView1->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { ListView1Change(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { ListView1Change(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { ListView1Change(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { saleCleared(); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                m_context.runGuarded([&] {
                    for (const QItemSelection* changed : {&deselected, &selected}) {
                        QList<int> rows;
                        for (const QModelIndex& index : changed->indexes())
                            if (!rows.contains(index.row()))
                                rows << index.row();
                        for (int row : rows)
                            ListView1SelectItem(row);
                    }
                    ListView1Change();
                });
            });

    connect(Edit4, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int position = Edit4->cursorPosition();
        Edit4->setText(upper);
        Edit4->setCursorPosition(position);
    });
    Edit4->installEventFilter(this);
    SpinEdit1->installEventFilter(this);
    connect(BitBtn15, &QPushButton::clicked, this, [this] { clicked(&SaleScreen::BitBtn15Click); });
    connect(BitBtn16, &QPushButton::clicked, this, [this] { clicked(&SaleScreen::BitBtn16Click); });
    connect(BitBtn22, &QPushButton::clicked, this, [this] { clicked(&SaleScreen::BitBtn22Click); });
    connect(Button1, &QPushButton::clicked, this, [this] { clicked(&SaleScreen::Button1Click); });
    connect(Edit7, &QLineEdit::textChanged, this, Guarded(m_context, this, &SaleScreen::Edit7Change));
    connect(Edit7, &QLineEdit::textEdited, this, [this] { m_tenderedTyped = true; });
    connect(&m_context, &AppContext::currencySymbolChanged, this, [this] { FiyatHesapla(); });
}

void SaleScreen::setCaptions()
{
    BitBtn15->setText(TranslateText("ADD"));
    BitBtn16->setText(TranslateText("DELETE"));
    BitBtn22->setToolTip(TranslateText("Product List"));
    BitBtn22->setAccessibleName(TranslateText("Product List"));
    m_list.setTitles({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Price"),
                      TranslateText("Quantity"), TranslateText("Total"), TranslateText("Discounted Price"),
                      TranslateText("Discounted Total")});
    ListView1->setAccessibleName(TranslateText("Sale list"));
    Edit4->setAccessibleName(TranslateText("Barcode"));
    SpinEdit1->setAccessibleName(TranslateText("Quantity"));
    Edit7->setAccessibleName(TranslateText("Amount tendered"));
    Label5->setText(TranslateText("GRAND TOTAL:"));
    Button1->setToolTip(TranslateText("Discount"));
    Button1->setAccessibleName(TranslateText("Discount"));
    Label20->setText(TranslateText("Change:"));
}


void SaleScreen::clicked(void (SaleScreen::*handler)())
{
    Guarded(m_context, this, handler)();
    // A click leaves the focus on the button, and a dialog the handler opened gives it back there; the next
    // scan must reach the list.
    ListView1->setFocus();
}

void SaleScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A scanner types into the focused widget: on the sale screen that is the sale list, from the first scan on.
    ListView1->setFocus();
}

void SaleScreen::removeRow(int row)
{
    // Qt makes a neighbour of a removed current row current and, in single selection, selects it; with no
    // current row the list is left with nothing selected, and the bar stays in add mode.
    ListView1->selectionModel()->clear();
    m_sale.removeLine(row);
}

// ---- the sale list ----

qint64 SaleScreen::quantityBoxValue() const
{
    return std::clamp<qint64>(ReadIntegerOr(SpinEdit1->cleanText(), 1), SpinEdit1->minimum(), SpinEdit1->maximum());
}

bool SaleScreen::BarkodOkundu(const QString& barcode, qint64 quantity)
{
    if (!m_sale.addByBarcode(m_context.SQLConnection1(), barcode, quantity))
        return false;
    FiyatHesapla();
    EkleDuzeltSifirla();
    return true;
}

void SaleScreen::UrunSayisiGuncelle(qint64 quantity, qint64 row)
{
    if (row < 0 || row >= m_sale.lineCount())
        return;
    m_sale.setQuantity(int(row), quantity);
    FiyatHesapla();
}

void SaleScreen::ManualEkle(const QString& name, qint64 quantity, double unitPrice)
{
    m_sale.addLine(QString(), name, unitPrice, quantity);
    FiyatHesapla();
    EkleDuzeltSifirla();
}

void SaleScreen::EkleDuzeltSifirla()
{
    Edit4->setEnabled(true);
    Edit4->clear();
    m_editedRow = 0;
    SpinEdit1->setValue(1);
    BitBtn15->setText(TranslateText("ADD"));
    BitBtn16->hide();
    ListView1->setFocus();
}

void SaleScreen::leaveEditMode()
{
    ListView1->selectionModel()->clear();
    EkleDuzeltSifirla();
}

void SaleScreen::BitBtn15Click()
{
    // However the lookup or the price dialog ends, the next scan goes to the list.
    const auto refocus = qScopeGuard([this] { ListView1->setFocus(); });
    const qint64 quantity = quantityBoxValue();
    if (ListView1->selectionModel()->hasSelection()) {
        UrunSayisiGuncelle(quantity, m_editedRow);
        return;
    }
    // The code in the box takes the place of whatever was typed into the list.
    const auto clearPending = qScopeGuard([this] { m_pendingBarcode.clear(); });
    Edit4->setText(TrimBlanks(Edit4->text()));
    if (BarkodOkundu(Edit4->text(), quantity)) {
        m_editedRow = 0;
        ListView1->setFocus();
        ListView1->clearSelection();
        Edit4->clear();
        BitBtn16->hide();
        SpinEdit1->setValue(1);
    } else if (!Edit4->text().isEmpty()) {
        const std::optional<QString> price = m_context.InputQuery(
            TranslateText("Add Product Manually"), TranslateText("Please enter unit price:"), QStringLiteral("0.00"));
        if (price)
            ManualEkle(Edit4->text(), quantityBoxValue(), ReadNumber(*price));
    } else {
        m_context.dialogs().warning(m_context.window(), TranslateText("WARNING"),
                                    TranslateText("Please enter barcode or product name!"));
    }
}

void SaleScreen::BitBtn16Click()
{
    if (m_editedRow >= 0 && m_editedRow < m_sale.lineCount())
        removeRow(int(m_editedRow));
    FiyatHesapla();
    EkleDuzeltSifirla();
}

void SaleScreen::BitBtn22Click()
{
    ListView1->setFocus();
    OpenProductPickerWindow(m_context, [this](const QString& barcode) { return pickProduct(barcode); });
}

bool SaleScreen::pickProduct(const QString& barcode)
{
    // A product deleted meanwhile is not found: its barcode stays pending, as if typed into the list, for the next
    // pick or scan.
    m_pendingBarcode = barcode;
    if (!BarkodOkundu(barcode))
        return false;
    m_pendingBarcode.clear();
    return true;
}

void SaleScreen::ListView1KeyPress(QChar key)
{
    if (key == QChar(27)) {
        leaveEditMode();
    } else if (key == QChar(8)) {
        if (ListView1->selectionModel()->hasSelection()) {
            BitBtn16Click();
        } else if (!m_sale.empty()) {
            removeRow(m_sale.lineCount() - 1);
            FiyatHesapla();
        }
    } else if (key == QChar(13) && !TrimBlanks(m_pendingBarcode).isEmpty()) {
        const QString code = TrimBlanks(m_pendingBarcode);
        m_pendingBarcode.clear();
        BarkodOkundu(code);
    } else {
        const char16_t c = key.unicode();
        m_pendingBarcode += (c >= u'a' && c <= u'z') ? QChar(c - u'a' + u'A') : key;
    }
}

void SaleScreen::ListView1Click()
{
    if (!ListView1->selectionModel()->hasSelection()) {
        Edit4->setEnabled(true);
        EkleDuzeltSifirla();
    }
}

void SaleScreen::ListView1SelectItem(int row)
{
    if (row < 0 || row >= m_sale.lineCount())
        return;
    const Sale::Line& line = m_sale.line(row);
    m_editedRow = row;
    Edit4->setText(line.barcode);
    Edit4->setEnabled(false);
    SpinEdit1->setValue(int(std::clamp<qint64>(line.quantity, SpinEdit1->minimum(), SpinEdit1->maximum())));
    BitBtn15->setText(TranslateText("Edit"));
    BitBtn16->show();
}

void SaleScreen::ListView1Change()
{
    // Many changes come in one burst (a scan adds a row and rewrites its cells); scroll once, when the list
    // next gets to the event loop, instead of laying the list out after every single cell.
    if (m_scrollPending)
        return;
    m_scrollPending = true;
    QTimer::singleShot(0, this, [this] {
        m_scrollPending = false;
        ListView1->scrollToBottom();
    });
}

bool SaleScreen::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Edit4 || watched == SpinEdit1) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Edit4) {
                SpinEdit1->selectAll();
                SpinEdit1->setFocus();
            } else {
                Guarded(m_context, this, &SaleScreen::BitBtn15Click)();
            }
            return true;
        }
        if (key == Qt::Key_Escape) {
            leaveEditMode();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- totals, discount and change ----

void SaleScreen::FiyatHesapla()
{
    const MoneySum sum = m_sale.total();
    // Past whole cents in 64 bits no banknote covers the total: the change table stays empty.
    const qint64 cents = sum.exact() ? sum.cents() : std::numeric_limits<qint64>::max();
    Label7->setText(MoneyWithSymbol(m_context.receipts.CurrencySymbol, sum.value()));

    if (m_sale.empty()) {
        Panel6->hide();
        emit sellingChanged(false);
        return;
    }
    Panel6->show();
    Label20->setText(TranslateText("Change:"));
    const QString changeTable = ChangeTableLines(cents).join(QLatin1Char('\n'));
    if (changeTable != m_shownChangeTable) { // laying out the memo again is the costly part of a refresh
        m_shownChangeTable = changeTable;
        Memo1->setPlainText(changeTable);
    }
    Edit7Change();
    // The sell bar belongs to the sale screen; a refresh while another screen is shown leaves it alone.
    if (isHidden())
        return;
    emit sellingChanged(true);
}

void SaleScreen::Edit7Change()
{
    Label19->setText(ChangeForTendered(Edit7->text(), m_sale.total().value()));
}

void SaleScreen::Button1Click()
{
    const std::optional<QString> answer =
        m_context.InputQuery(TranslateText("Discount"), TranslateText("Please enter discount ratio:"),
                             QString(Label21->text()).remove(QLatin1Char('%')));
    if (!answer)
        return;
    double rate = 0;
    if (!ReadDiscountRate(*answer, rate)) {
        m_context.dialogs().beep();
        return;
    }
    m_sale.setDiscountRate(rate);
    Label21->setText(*answer + QLatin1Char('%'));
    FiyatHesapla();
}

// ---- checkout ----

std::optional<qint64> SaleScreen::amountTendered() const
{
    return m_tenderedTyped ? ReadAmountCents(Edit7->text()) : std::nullopt;
}

void SaleScreen::saleCleared()
{
    m_tenderedTyped = false;
    ListView1->setFocus();
    FiyatHesapla();
    EkleDuzeltSifirla();
    Label21->setText(QStringLiteral("0%"));
}

// ---- asked by the main window and the checkouts ----

void SaleScreen::showEmptySale()
{
    Label7->setText(MoneyWithSymbol(m_context.receipts.CurrencySymbol, 0));
    Panel6->hide();
    BitBtn16->hide();
}

void SaleScreen::focusList()
{
    ListView1->setFocus();
}

QHeaderView* SaleScreen::listHeader() const
{
    return ListView1->header();
}

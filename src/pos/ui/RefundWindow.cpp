#include "pos/ui/RefundWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/RefundChoice.h"
#include "pos/TenderTexts.h"
#include "pos/TillTenderTypes.h"
#include "pos/ui/CompleteRefund.h"
#include "store/ProductsTable.h"
#include "store/TenderTypesTable.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <utility>

namespace {

enum Column { ProductColumn, PriceColumn, SoldColumn, RefundedColumn, RefundColumn, BackToStockColumn, ColumnCount };

// The most a line picked by barcode can be refunded at once.
constexpr int kMostWithoutReceipt = 9999;

QTableWidgetItem* textItem(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

RefundWindow::RefundWindow(AppContext& context, RefundableSale sale)
    : QDialog(context.window()), m_context(context), m_sale(std::move(sale))
{
    const std::vector<TenderType> types = TenderTypesTable(m_context.SQLConnection1()).all().value_or(
        std::vector<TenderType>());
    // What a sale on account gave back lowers what the customer owes: it goes back to the account, nothing else.
    const QStringList tenders =
        m_sale->onAccount ? QStringList{kAccountTender} : OfferedTenderTypes(types);
    build(tenders, m_sale->defaultTenderType());
    const SaleRecordRow& original = m_sale->original.record;
    QStringList about{TranslateText("Receipt") + QStringLiteral(": ")
                          + (original.receiptNumber ? QString::number(*original.receiptNumber) : QStringLiteral("-")),
                      original.till, original.recordedAt};
    if (!original.customerName.isEmpty())
        about << original.customerName;
    ReceiptLabel->setText(about.join(QStringLiteral("    ")));
    for (const RefundableLine& line : m_sale->lines) {
        Row row;
        row.lineId = line.lineId;
        addRow(line.name, CentsText(line.priceCents), QString::number(line.sold), QString::number(line.refunded),
               line.left(), std::move(row));
    }
    updateTabOrder();
    QuantityChange();
    if (!m_rows.empty())
        m_rows.front().quantity->setFocus();
}

RefundWindow::RefundWindow(AppContext& context) : QDialog(context.window()), m_context(context)
{
    const std::vector<TenderType> types = TenderTypesTable(m_context.SQLConnection1()).all().value_or(
        std::vector<TenderType>());
    build(OfferedTenderTypes(types), kCashTender);
    ReceiptLabel->setText(TranslateText("Refund without a receipt"));
    LinesTable->setColumnHidden(SoldColumn, true);
    LinesTable->setColumnHidden(RefundedColumn, true);
    updateTabOrder();
    QuantityChange();
    BarcodeEdit->setFocus();
}

RefundWindow::~RefundWindow() = default;

void RefundWindow::build(const QStringList& tenderTypes, const QString& defaultTender)
{
    setObjectName(QStringLiteral("RefundWindow"));
    setWindowTitle(TranslateText("Refund"));
    resize(760, 480);

    ReceiptLabel = new QLabel(this);
    ReceiptLabel->setObjectName(QStringLiteral("ReceiptLabel"));
    ReceiptLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    ReceiptLabel->setFocusPolicy(Qt::StrongFocus);
    ReceiptLabel->setAccessibleName(TranslateText("Receipt"));

    LinesTable = new QTableWidget(0, ColumnCount, this);
    LinesTable->setObjectName(QStringLiteral("LinesTable"));
    LinesTable->setAccessibleName(TranslateText("Receipt lines"));
    LinesTable->setHorizontalHeaderLabels({TranslateText("Product"), TranslateText("Price"), TranslateText("Sold"),
                                           TranslateText("Refunded"), TranslateText("Refund"),
                                           TranslateText("Back to stock")});
    LinesTable->verticalHeader()->hide();
    LinesTable->setSelectionMode(QAbstractItemView::NoSelection);
    LinesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes on to the line's quantity and tick rather than from cell to cell.
    LinesTable->setTabKeyNavigation(false);
    LinesTable->horizontalHeader()->setSectionResizeMode(ProductColumn, QHeaderView::Stretch);
    LinesTable->horizontalHeader()->setSectionResizeMode(RefundColumn, QHeaderView::ResizeToContents);

    TenderCombo = new QComboBox(this);
    TenderCombo->setObjectName(QStringLiteral("TenderCombo"));
    for (const QString& code : tenderTypes)
        TenderCombo->addItem(TenderTypeCaption(code), code);
    TenderCombo->setCurrentIndex(std::max(0, TenderCombo->findData(defaultTender)));
    ReasonEdit = new QLineEdit(this);
    ReasonEdit->setObjectName(QStringLiteral("ReasonEdit"));
    ReasonEdit->setMaxLength(200);
    TotalValue = new QLabel(this);
    TotalValue->setObjectName(QStringLiteral("TotalValue"));
    QFont bold = TotalValue->font();
    bold.setBold(true);
    TotalValue->setFont(bold);

    auto* form = new QFormLayout;
    form->addRow(TranslateText("Paid back by:"), TenderCombo);
    form->addRow(TranslateText("Reason:"), ReasonEdit);
    form->addRow(TranslateText("Total:"), TotalValue);
    TenderCombo->setAccessibleName(TranslateText("Paid back by:"));
    ReasonEdit->setAccessibleName(TranslateText("Reason:"));
    TotalValue->setAccessibleName(TranslateText("Total:"));

    CompleteButton = new QPushButton(TranslateText("Complete Refund"), this);
    CompleteButton->setObjectName(QStringLiteral("CompleteButton"));
    CompleteButton->setDefault(true);
    CancelButton = new QPushButton(TranslateText("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CompleteButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ReceiptLabel);
    if (!m_sale) {
        BarcodeEdit = new QLineEdit(this);
        BarcodeEdit->setObjectName(QStringLiteral("BarcodeEdit"));
        BarcodeEdit->setAccessibleName(TranslateText("Barcode"));
        BarcodeEdit->installEventFilter(this);
        auto* barcodeRow = new QFormLayout;
        barcodeRow->addRow(TranslateText("Barcode") + QLatin1Char(':'), BarcodeEdit);
        layout->addLayout(barcodeRow);
    }
    layout->addWidget(LinesTable, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Esc rejects the window as Cancel does.
    connect(CompleteButton, &QPushButton::clicked, this, Guarded(m_context, this, &RefundWindow::CompleteRefundClick));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RefundWindow::addRow(const QString& name, const QString& priceText, const QString& sold,
                          const QString& refunded, qint64 most, Row row)
{
    const int index = LinesTable->rowCount();
    const QString number = QString::number(index + 1);
    LinesTable->insertRow(index);
    LinesTable->setItem(index, ProductColumn, textItem(name, false));
    LinesTable->setItem(index, PriceColumn, textItem(priceText, true));
    LinesTable->setItem(index, SoldColumn, textItem(sold, true));
    LinesTable->setItem(index, RefundedColumn, textItem(refunded, true));

    row.quantity = new QSpinBox;
    row.quantity->setObjectName(QStringLiteral("RefundQuantity") + number);
    row.quantity->setAccessibleName(TranslateText("Refund") + QStringLiteral(": ") + name);
    row.quantity->setRange(0, int(std::clamp<qint64>(most, 0, std::numeric_limits<int>::max())));
    row.quantity->setAlignment(Qt::AlignRight);
    LinesTable->setCellWidget(index, RefundColumn, row.quantity);

    auto* cell = new QWidget;
    row.backToStock = new QCheckBox(cell);
    row.backToStock->setObjectName(QStringLiteral("BackToStock") + number);
    row.backToStock->setAccessibleName(TranslateText("Back to stock") + QStringLiteral(": ") + name);
    row.backToStock->setChecked(true);
    auto* centred = new QHBoxLayout(cell);
    centred->setContentsMargins(0, 0, 0, 0);
    centred->addWidget(row.backToStock, 0, Qt::AlignCenter);
    LinesTable->setCellWidget(index, BackToStockColumn, cell);

    connect(row.quantity, &QSpinBox::valueChanged, this, Guarded(m_context, this, &RefundWindow::QuantityChange));
    m_rows.push_back(std::move(row));
}

void RefundWindow::updateTabOrder()
{
    std::vector<QWidget*> order{ReceiptLabel};
    if (BarcodeEdit)
        order.push_back(BarcodeEdit);
    order.push_back(LinesTable);
    for (const Row& row : m_rows)
        order.insert(order.end(), {row.quantity, row.backToStock});
    order.insert(order.end(), {TenderCombo, ReasonEdit, CompleteButton, CancelButton});
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

RefundRequest RefundWindow::request() const
{
    RefundRequest request;
    request.originalSaleId = m_sale ? m_sale->original.record.saleId : QString();
    for (const Row& row : m_rows) {
        const qint64 quantity = row.quantity->value();
        if (quantity <= 0)
            continue;
        if (m_sale) {
            request.lines.push_back({row.lineId, quantity, row.backToStock->isChecked()});
        } else {
            UnreferencedRefundLine line = row.product;
            line.quantity = quantity;
            line.backToStock = row.backToStock->isChecked();
            request.looseLines.push_back(line);
        }
    }
    request.tenderType = TenderCombo->currentData().toString();
    request.reason = ReasonEdit->text().trimmed();
    return request;
}

void RefundWindow::QuantityChange()
{
    const RefundRequest chosen = request();
    const std::optional<qint64> total = RefundTotalCents(m_sale ? &*m_sale : nullptr, chosen);
    TotalValue->setText(total ? CentsWithSymbol(m_context.receipts.CurrencySymbol, *total) : QStringLiteral("-"));
    CompleteButton->setEnabled(RefundChosen(chosen));
}

void RefundWindow::BarcodeEntered()
{
    const QString barcode = BarcodeEdit->text().trimmed();
    // Enter in the empty box, once the products are scanned, completes the refund as Enter elsewhere does.
    if (barcode.isEmpty()) {
        if (CompleteButton->isEnabled())
            CompleteButton->click();
        return;
    }
    for (Row& row : m_rows)
        if (row.product.barcode == barcode) {
            row.quantity->setValue(row.quantity->value() + 1);
            BarcodeEdit->clear();
            return;
        }
    const std::optional<std::vector<ProductRecord>> found = ProductsTable(m_context.SQLConnection1()).withBarcode(barcode);
    if (!found || found->empty()) {
        m_context.dialogs().beep();
        BarcodeEdit->selectAll();
        return;
    }
    const ProductRecord& product = found->front();
    Row row;
    row.product = {product.barcode, product.name, product.price, 0, true};
    addRow(product.name, MoneyText(product.price.asDouble()), QString(), QString(), kMostWithoutReceipt,
           std::move(row));
    m_rows.back().quantity->setValue(1);
    updateTabOrder();
    BarcodeEdit->clear();
}

void RefundWindow::CompleteRefundClick()
{
    const RefundRequest chosen = request();
    if (chosen.lines.empty() && chosen.looseLines.empty())
        return;
    if (!m_context.dialogs().askYesNo(this, windowTitle(), TranslateText("Confirm?")))
        return;
    // Nothing stored (the reason has been shown): the window stays for another try.
    if (CompleteRefund(m_context, chosen, this))
        accept();
}

bool RefundWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BarcodeEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter in the barcode box adds the product (BarcodeEntered).
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_context.runGuarded([this] { BarcodeEntered(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool OpenRefundWindow(AppContext& context, const QString& saleId)
{
    std::optional<RefundableSale> sale = ReadRefundableSale(context.SQLConnection1(), saleId);
    if (!sale)
        return false;
    RefundWindow window(context, std::move(*sale));
    return context.dialogs().execModal(window) == QDialog::Accepted;
}

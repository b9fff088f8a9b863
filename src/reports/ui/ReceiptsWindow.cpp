#include "reports/ui/ReceiptsWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Receipt.h"
#include "pos/TenderTexts.h"
#include "pos/ui/ReceiptPrinting.h"
#include "pos/ui/RefundWindow.h"
#include "reports/ReceiptsExport.h"
#include "reports/ReceiptsFilter.h"
#include "reports/ReceiptsListModel.h"
#include "reports/RecordTexts.h"
#include "reports/SalesHistory.h"
#include "reports/TextTableModel.h"
#include "reports/ui/CsvExportRunner.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/ui/DateTillFilterBar.h"
#include "reports/ui/ReportTable.h"
#include "store/SaleRecordsTable.h"
#include "store/TenderTypesTable.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QStyle>
#include <QTableView>

#include <utility>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // Enter in the receipt number box applies it rather than pressing a button.
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ReceiptsWindow::ReceiptsWindow(AppContext& context) : QDialog(context.window()), m_context(context)
{
    setObjectName(QStringLiteral("ReceiptsWindow"));
    setWindowTitle(TranslateText("Receipts"));
    resize(1080, 640);
    Database& db = m_context.SQLConnection1();

    const QDate today = m_context.env().now().date();
    const DateTillFilterBar dateTill(this, today, m_context.env().shortDateFormat(), SaleRecordsTable(db).tills());
    BeginDate = dateTill.BeginDate;
    EndDate = dateTill.EndDate;
    TillFilter = dateTill.TillFilter;
    ReceiptFilter = new QLineEdit(this);
    ReceiptFilter->setObjectName(QStringLiteral("ReceiptFilter"));
    ReceiptFilter->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,18}")), ReceiptFilter));
    ReceiptFilter->setClearButtonEnabled(true);
    TenderFilter = new QComboBox(this);
    TenderFilter->setObjectName(QStringLiteral("TenderFilter"));
    TenderFilter->addItem(TranslateText("All Payment Types"));
    for (const TenderType& type : TenderTypesTable(db).all().value_or(std::vector<TenderType>()))
        TenderFilter->addItem(TenderTypeCaption(type.code), type.code);

    m_model = new ReceiptsListModel(db, this);
    m_model->setTitles({TranslateText("Time"), TranslateText("Till"), TranslateText("Receipt"),
                        TranslateText("Customer"), TranslateText("Payments"), TranslateText("Total"),
                        TranslateText("Kind"), TranslateText("Original Receipt")});
    RecordsList = MakeReportTable(this, TranslateText("Receipts"), m_model);
    RecordsList->setObjectName(QStringLiteral("RecordsList"));
    const int widths[] = {150, 90, 70, 140, 230, 90, 90, 110};
    for (int i = 0; i < ReceiptsListModel::ColumnCount; ++i)
        RecordsList->horizontalHeader()->resizeSection(i, widths[i]);
    m_linesModel = new TextTableModel(kRecordLineColumnsWithRefunded, this);
    m_linesModel->setTitles({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Price"),
                             TranslateText("Quantity"), TranslateText("Total"), TranslateText("Refunded")});
    LinesList = MakeReportTable(this, TranslateText("Receipt lines"), m_linesModel);
    LinesList->setObjectName(QStringLiteral("LinesList"));
    LinesList->horizontalHeader()->resizeSection(1, 300);

    m_buttonRow = new QHBoxLayout;
    ReprintButton = addRecordButton("ReprintButton", TranslateText("Reprint"));
    RefundButton = addRecordButton("RefundButton", TranslateText("Refund..."));
    ExportButton = makeButton(this, "ExportButton", TranslateText("Export to File..."));
    ExportButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    CloseButton = makeButton(this, "CloseButton", TranslateText("Close"));

    auto* filters = new QGridLayout;
    dateTill.addTo(*filters, 1, 0);
    filters->addWidget(makeLabel(this, TranslateText("Receipt number:"), ReceiptFilter), 1, 2);
    filters->addWidget(ReceiptFilter, 1, 3);
    filters->addWidget(makeLabel(this, TranslateText("Payment type:"), TenderFilter), 1, 4);
    filters->addWidget(TenderFilter, 1, 5);
    filters->setColumnStretch(6, 1);

    auto* lists = new QSplitter(Qt::Vertical, this);
    lists->setObjectName(QStringLiteral("ListsSplitter"));
    lists->setChildrenCollapsible(false);
    lists->addWidget(RecordsList);
    lists->addWidget(LinesList);
    lists->setStretchFactor(0, 3);
    lists->setStretchFactor(1, 1);

    m_buttonRow->addWidget(ExportButton);
    m_buttonRow->addStretch(1);
    m_buttonRow->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(lists, 1);
    layout->addLayout(m_buttonRow);

    // The tab order follows the window from top to bottom.
    QWidget* order[] = {BeginDate, EndDate, TillFilter, ReceiptFilter, TenderFilter, RecordsList, LinesList};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    QWidget* previous = LinesList;
    for (QPushButton* button : m_recordButtons)
        setTabOrder(std::exchange(previous, button), button);
    setTabOrder(previous, ExportButton);
    setTabOrder(ExportButton, CloseButton);

    connect(BeginDate, &QDateEdit::dateChanged, this, Guarded(m_context, this, &ReceiptsWindow::FilterChange));
    connect(EndDate, &QDateEdit::dateChanged, this, Guarded(m_context, this, &ReceiptsWindow::FilterChange));
    connect(TillFilter, &QComboBox::currentIndexChanged, this, Guarded(m_context, this, &ReceiptsWindow::FilterChange));
    connect(TenderFilter, &QComboBox::currentIndexChanged, this,
            Guarded(m_context, this, &ReceiptsWindow::FilterChange));
    connect(ReceiptFilter, &QLineEdit::editingFinished, this, Guarded(m_context, this, &ReceiptsWindow::FilterChange));
    connect(RecordsList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            Guarded(m_context, this, &ReceiptsWindow::SelectionChange));
    connect(m_model, &QAbstractItemModel::modelReset, this, Guarded(m_context, this, &ReceiptsWindow::SelectionChange));
    connect(ReprintButton, &QPushButton::clicked, this, Guarded(m_context, this, &ReceiptsWindow::ReprintClick));
    connect(RefundButton, &QPushButton::clicked, this, Guarded(m_context, this, &ReceiptsWindow::RefundClick));
    connect(ExportButton, &QPushButton::clicked, this, Guarded(m_context, this, &ReceiptsWindow::ExportClick));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    FilterChange();
    RecordsList->setFocus();
}

ReceiptsWindow::~ReceiptsWindow() = default;

QPushButton* ReceiptsWindow::addRecordButton(const char* name, const QString& caption)
{
    QPushButton* button = makeButton(this, name, caption);
    button->setEnabled(false);
    m_buttonRow->insertWidget(int(m_recordButtons.size()), button);
    m_recordButtons.push_back(button);
    return button;
}

const ListedReceipt* ReceiptsWindow::selectedReceipt() const
{
    const QModelIndexList rows = RecordsList->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : &m_model->receipt(rows.first().row());
}

void ReceiptsWindow::FilterChange()
{
    const SaleRecordFilter filter =
        ReceiptsFilterOf({BeginDate->date(), EndDate->date(), TillFilter->currentData().toString(),
                          ReceiptFilter->text(), TenderFilter->currentData().toString()});
    if (filter == m_model->filter())
        return; // listed already (the receipt number box was left unchanged)
    m_model->setFilter(filter);
}

void ReceiptsWindow::SelectionChange()
{
    const ListedReceipt* receipt = selectedReceipt();
    m_lines = receipt ? ReadRecordLines(m_context.SQLConnection1(), receipt->stored.record)
                      : std::vector<RecordLine>();
    const std::vector<qint64> refunded =
        receipt ? ReadRefundedQuantities(m_context.SQLConnection1(), receipt->stored.record) : std::vector<qint64>();
    m_linesModel->setCells(RecordLineCellsWithRefunded(m_lines, refunded));
    for (QPushButton* button : m_recordButtons)
        button->setEnabled(receipt != nullptr);
    // Only a sale can be refunded, not a refund or a settlement.
    RefundButton->setEnabled(receipt && receipt->stored.record.kind == SaleRecordKind::Sale);
}

void ReceiptsWindow::ReprintClick()
{
    const ListedReceipt* receipt = selectedReceipt();
    if (!receipt) {
        m_context.dialogs().beep();
        return;
    }
    const ReprintFormat format{m_context.receipts.CurrencySymbol, m_context.env().shortDateFormat(),
                               m_context.env().longTimeFormat()};
    const SaleRecordRow& record = receipt->stored.record;
    // A refund prints again on the refund's own template, with the number of the receipt it gave back.
    const bool refund = record.kind == SaleRecordKind::Refund;
    const QStringList& lines = refund ? m_context.receipts.RefundTemplate : m_context.receipts.ReceiptTemplate;
    const QString original =
        refund && !record.unreferenced ? RecordReceiptText(receipt->originalReceiptNumber) : QString();
    ReceiptPrintJob job(
        RenderRecordReprint(ReceiptTemplateText(lines), record, m_lines, receipt->tenders, format, original));
    job.translateError = true;
    PrintReceipt(m_context, this, job);
}

void ReceiptsWindow::RefundClick()
{
    const ListedReceipt* receipt = selectedReceipt();
    if (!receipt || receipt->stored.record.kind != SaleRecordKind::Sale) {
        m_context.dialogs().beep();
        return;
    }
    const QString saleId = receipt->stored.record.saleId;
    if (!OpenRefundWindow(m_context, saleId))
        return;
    // The refund joins the list, and the sale, selected again, shows what was given back of its lines.
    m_model->setFilter(m_model->filter());
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->receipt(row).stored.record.saleId == saleId) {
            RecordsList->selectRow(row);
            break;
        }
}

void ReceiptsWindow::ExportClick()
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(m_context);
    dialog.prepareForCsv();
    const QString path = dialog.execute(m_context.dialogs(), this);
    if (path.isEmpty())
        return;
    const SaleRecordFilter filter = m_model->filter();
    const QChar separator = m_context.CsvSeparator;
    RunCsvExport(m_context, this, [&](Database& db, LongTaskProgress& progress) {
        return ExportReceiptsCsv(db, filter, separator, path, &progress);
    });
}

void OpenReceiptsWindow(AppContext& context)
{
    ReceiptsWindow window(context);
    context.dialogs().execModal(window);
}

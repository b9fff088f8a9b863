#include "reports/ui/SalesHistoryScreen.h"

#include "app/ui/LongTaskRunner.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "pos/Money.h"
#include "pos/Receipt.h"
#include "pos/ui/ReceiptPrinting.h"
#include "reports/CsvFile.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/LazyNameListModel.h"
#include "reports/SalesHistory.h"
#include "reports/TakingsSeries.h"
#include "reports/ui/TakingsChartWindow.h"
#include "store/CreditLinesTable.h"
#include "store/CustomersTable.h"
#include "store/Database.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/WorkerConnection.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedLayout>
#include <QStyle>
#include <QTableView>
#include <QTimeEdit>

namespace {

QTableView* makeList(QWidget* parent, const QString& name, QAbstractItemModel* model, const QList<int>& widths)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    // Every row is one line high: the view never measures rows, however long the list.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setSectionsClickable(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < widths.size(); ++i)
        view->horizontalHeader()->resizeSection(i, widths[i]);
    return view;
}

QPushButton* makeButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QComboBox* makeChoice(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);
    box->setMinimumContentsLength(16);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}


} // namespace

SalesHistoryScreen::SalesHistoryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("PanelSellings"));

    const QString dateFormat = m_context.env().shortDateFormat();
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new QDateEdit(this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    for (QDateEdit* date : {DateTimePicker1, DateTimePicker2}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(dateFormat);
    }
    DateTimePicker3 = new QTimeEdit(QTime(0, 0, 0), this);
    DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
    DateTimePicker4 = new QTimeEdit(QTime(0, 0, 0), this);
    DateTimePicker4->setObjectName(QStringLiteral("DateTimePicker4"));
    for (QTimeEdit* time : {DateTimePicker3, DateTimePicker4})
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    ComboBox3 = makeChoice(this, "ComboBox3");
    ComboBox4 = makeChoice(this, "ComboBox4");
    m_beginLabel = new QLabel(this);
    m_beginLabel->setBuddy(DateTimePicker1);
    m_endLabel = new QLabel(this);
    m_endLabel->setBuddy(DateTimePicker2);
    m_customerLabel = new QLabel(this);
    m_customerLabel->setBuddy(ComboBox3);
    m_productLabel = new QLabel(this);
    m_productLabel->setBuddy(ComboBox4);

    BitBtn18 = makeButton(this, "BitBtn18");
    BitBtn19 = makeButton(this, "BitBtn19");
    BitBtn21 = makeButton(this, "BitBtn21");
    BitBtn21->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ChartButton = makeButton(this, "ChartButton");
    BitBtn20 = makeButton(this, "BitBtn20");

    m_paymentsModel = new PaymentsListModel(this);
    m_creditsModel = new CreditsListModel(this);
    ListView2 = makeList(this, QStringLiteral("ListView2"), m_paymentsModel, {180, 139, 139, 139, 139, 139, 139, 139});
    ListView3 = makeList(this, QStringLiteral("ListView3"), m_creditsModel, {180, 104, 104, 104, 104, 104, 104, 180, 104});

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* delete2 = PopupMenu1->addAction(QString());
    delete2->setObjectName(QStringLiteral("Delete2"));
    QAction* print1 = PopupMenu1->addAction(QString());
    print1->setObjectName(QStringLiteral("Print1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    QAction* delete3 = PopupMenu2->addAction(QString());
    delete3->setObjectName(QStringLiteral("Delete3"));
    QAction* print2 = PopupMenu2->addAction(QString());
    print2->setObjectName(QStringLiteral("Print2"));
    connect(ListView2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ListView2->viewport()->mapToGlobal(pos)); });
    connect(ListView3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(ListView3->viewport()->mapToGlobal(pos)); });

    PanelTotal = new QWidget(this);
    PanelTotal->setObjectName(QStringLiteral("PanelTotal"));
    Label15 = new QLabel(PanelTotal);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label14 = new QLabel(PanelTotal);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* label : {Label15, Label14}) {
        QFont f = label->font();
        f.setPointSize(14);
        f.setBold(true);
        label->setFont(f);
    }
    Label15->setBuddy(Label14);

    connect(BitBtn18, &QPushButton::clicked, this, Guarded(m_context, this, &SalesHistoryScreen::BitBtn18Click));
    connect(BitBtn19, &QPushButton::clicked, this, Guarded(m_context, this, &SalesHistoryScreen::BitBtn19Click));
    connect(BitBtn21, &QPushButton::clicked, this, Guarded(m_context, this, &SalesHistoryScreen::BitBtn21Click));
    connect(ChartButton, &QPushButton::clicked, this, Guarded(m_context, this, &SalesHistoryScreen::ChartButtonClick));
    connect(BitBtn20, &QPushButton::clicked, this,
            [this] { m_context.runGuarded([this] { m_context.showSaleScreen(); }); });
    connect(delete2, &QAction::triggered, this, Guarded(m_context, this, &SalesHistoryScreen::Delete2Click));
    connect(delete3, &QAction::triggered, this, Guarded(m_context, this, &SalesHistoryScreen::Delete3Click));
    connect(print1, &QAction::triggered, this, Guarded(m_context, this, &SalesHistoryScreen::Print1Click));
    connect(print2, &QAction::triggered, this, Guarded(m_context, this, &SalesHistoryScreen::Print2Click));

    auto* top = new QGridLayout;
    top->addWidget(m_beginLabel, 0, 0);
    top->addWidget(DateTimePicker1, 0, 1);
    top->addWidget(DateTimePicker3, 1, 1);
    top->addWidget(m_endLabel, 0, 2);
    top->addWidget(DateTimePicker2, 0, 3);
    top->addWidget(DateTimePicker4, 1, 3);
    top->addWidget(m_customerLabel, 0, 4);
    top->addWidget(ComboBox3, 0, 5);
    top->addWidget(m_productLabel, 1, 4);
    top->addWidget(ComboBox4, 1, 5);
    top->addWidget(BitBtn18, 0, 6, 2, 1);
    top->addWidget(BitBtn19, 0, 7, 2, 1);
    // "Chart" shares the column of "Export", so the screen keeps the main window's design width.
    top->addWidget(BitBtn21, 0, 8);
    top->addWidget(ChartButton, 1, 8);
    top->setColumnStretch(9, 1);
    top->addWidget(BitBtn20, 0, 10, 2, 1);
    for (QPushButton* b : {BitBtn18, BitBtn19, BitBtn21, ChartButton, BitBtn20})
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto* lists = new QWidget(this);
    m_lists = new QStackedLayout(lists);
    m_lists->setContentsMargins(0, 0, 0, 0);
    m_lists->addWidget(ListView2);
    m_lists->addWidget(ListView3);

    auto* totalLayout = new QHBoxLayout(PanelTotal);
    totalLayout->addStretch(1);
    totalLayout->addWidget(Label15);
    totalLayout->addWidget(Label14);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lists, 1);
    layout->addWidget(PanelTotal);
    PanelTotal->hide();
}

void SalesHistoryScreen::setCaptions()
{
    m_paymentsModel->setTitles({TranslateText("Date"), TranslateText("Barcode"), TranslateText("Product"),
                                TranslateText("Price"), TranslateText("Quantity"), TranslateText("Total"),
                                TranslateText("ID"), TranslateText("Receipt"), TranslateText("Till")});
    m_creditsModel->setTitles({TranslateText("Date"), TranslateText("Customer"), TranslateText("Barcode"),
                               TranslateText("Product"), TranslateText("Price"), TranslateText("Quantity"),
                               TranslateText("Total"), TranslateText("Paid"), TranslateText("ID"),
                               TranslateText("Till")});
    m_creditsModel->setPaidWord(TranslateText("PAID"));
    for (QMenu* menu : {PopupMenu1, PopupMenu2}) {
        menu->actions().at(0)->setText(TranslateText("Delete"));
        menu->actions().at(1)->setText(TranslateText("Print"));
    }
    m_beginLabel->setText(TranslateText("Begin:"));
    m_endLabel->setText(TranslateText("End:"));
    m_customerLabel->setText(TranslateText("Customer:"));
    m_productLabel->setText(TranslateText("Product:"));
    DateTimePicker3->setAccessibleName(TranslateText("Begin time"));
    DateTimePicker4->setAccessibleName(TranslateText("End time"));
    ListView2->setAccessibleName(TranslateText("Payments"));
    ListView3->setAccessibleName(TranslateText("Credits"));
    BitBtn18->setText(TranslateText("Payments"));
    BitBtn19->setText(TranslateText("Credits"));
    BitBtn21->setText(TranslateText("Export"));
    ChartButton->setText(TranslateText("Chart"));
    BitBtn20->setText(TranslateText("MAIN MENU"));
    Label15->setText(TranslateText("GRAND TOTAL:"));
}

void SalesHistoryScreen::prepare()
{
    // Counting a big shop's products takes a noticeable part of the start, and only this screen needs them.
    if (!m_filterListsFilled)
        fillFilterLists();
    PanelTotal->hide();
    showList(ListView2);
    const QDate today = m_context.env().now().date();
    DateTimePicker1->setDate(today);
    DateTimePicker2->setDate(today.addDays(1));
    BitBtn18Click();
}

void SalesHistoryScreen::fillFilterLists()
{
    m_filterListsFilled = true;
    Database& db = m_context.SQLConnection1();
    // A big shop has thousands of customers and a hundred thousand products: their names are read when a list is
    // first opened. The box deletes the model it owned before.
    ComboBox3->setModel(new LazyNameListModel(
        TranslateText("All Customers"), [&db] { return CustomersTable(db).rowCount(); },
        [&db] { return CustomersTable(db).names(); }, ComboBox3));
    ComboBox3->setCurrentIndex(0);
    ComboBox4->setModel(new LazyNameListModel(
        TranslateText("All Products"), [&db] { return ProductsTable(db).rowCount(); },
        [&db] { return ProductsTable(db).names(); }, ComboBox4));
    ComboBox4->setCurrentIndex(0);
}

HistoryFilter SalesHistoryScreen::currentFilter(bool withCustomer) const
{
    HistoryFilter filter;
    if (ComboBox4->currentIndex() > 0)
        filter.product = ComboBox4->currentText();
    if (withCustomer && ComboBox3->currentIndex() > 0)
        filter.customer = ComboBox3->currentText();
    filter.begin = HistoryBound(DateTimePicker1->date(), DateTimePicker3->time());
    filter.end = HistoryBound(DateTimePicker2->date(), DateTimePicker4->time());
    return filter;
}

void SalesHistoryScreen::showList(QTableView* list)
{
    m_lists->setCurrentWidget(list);
}

namespace {

// Reads the rows on a worker with a connection of its own while the window goes on repainting; the database's
// messages are shown afterwards. A cancelled load shows an empty list.
template <typename Model>
void loadOnWorker(AppContext& context, Model& model, const HistoryFilter& filter)
{
    const QString dataFile = context.SQLConnection1().path();
    typename Model::Rows rows;
    bool ok = false;
    QString error;
    QStringList engineErrors;
    const QString caption = TranslateText("Loading the sales history...");
    const bool finished = LongTaskRunner::run(context.window(), caption, [&](LongTaskProgress& progress) {
        WorkerConnection connection(dataFile, progress.cancelCheck());
        if (connection.isOpen())
            ok = Model::read(connection.db(), filter, rows, &error, &progress);
        engineErrors = connection.errors();
    });
    if (!finished) {
        model.setRows(filter, typename Model::Rows());
        return;
    }
    for (const QString& message : engineErrors)
        context.ReportDatabaseError(message);
    if (!ok && !error.isEmpty())
        context.ReportDatabaseError(error);
    model.setRows(filter, ok ? std::move(rows) : typename Model::Rows());
}

} // namespace

void SalesHistoryScreen::loadPayments(const HistoryFilter& filter)
{
    loadOnWorker(m_context, *m_paymentsModel, filter);
}

void SalesHistoryScreen::loadCredits(const HistoryFilter& filter)
{
    loadOnWorker(m_context, *m_creditsModel, filter);
}

void SalesHistoryScreen::BitBtn18Click()
{
    m_shown = ShownList::Payments;
    showList(ListView2);
    m_paymentsModel->clear();
    Label14->setText(MoneyText(0));
    PanelTotal->show();
    loadPayments(currentFilter(false));
    Label14->setText(MoneyText(m_paymentsModel->grandTotal()));
    ListView2->setFocus();
}

void SalesHistoryScreen::BitBtn19Click()
{
    m_shown = ShownList::Credits;
    showList(ListView3);
    m_creditsModel->clear();
    PanelTotal->show();
    loadCredits(currentFilter(true));
    Label14->setText(TranslateText("Paid:") + QLatin1Char(' ') + MoneyText(m_creditsModel->paidTotal())
                     + QLatin1Char(' ') + TranslateText("Not Paid:") + QLatin1Char(' ')
                     + MoneyText(m_creditsModel->openTotal()));
    ListView3->setFocus();
}

void SalesHistoryScreen::BitBtn21Click()
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(m_context);
    dialog.prepareForCsv();
    const QString path = dialog.execute(m_context.dialogs(), m_context.window());
    if (path.isEmpty())
        return;
    CsvWriter writer(m_context.CsvSeparator);
    const HistoryListModel& shown = m_shown == ShownList::Payments
                                        ? static_cast<const HistoryListModel&>(*m_paymentsModel)
                                        : static_cast<const HistoryListModel&>(*m_creditsModel);
    shown.writeCsv(writer);
    QString error;
    if (!writer.save(path, &error))
        m_context.ShowError(error);
}

void SalesHistoryScreen::ChartButtonClick()
{
    const bool credits = m_shown == ShownList::Credits;
    if (credits) {
        // The payments beside the credit sales: those of the same days and product, read again only when the
        // payments list was last loaded for others.
        HistoryFilter wanted = m_creditsModel->filter();
        wanted.customer.clear();
        const HistoryFilter& loaded = m_paymentsModel->filter();
        if (loaded.begin != wanted.begin || loaded.end != wanted.end || loaded.product != wanted.product)
            loadPayments(wanted);
    }
    const HistoryFilter& filter = credits ? m_creditsModel->filter() : m_paymentsModel->filter();
    TakingsChartWindow window(m_context.dialogs(),
                              BuildTakingsSeries(filter, *m_paymentsModel, credits ? m_creditsModel : nullptr),
                              {m_context.env().shortDateFormat(),
                               m_context.receipts.CurrencySymbol}, m_context.window());
    m_context.dialogs().execModal(window);
}

int SalesHistoryScreen::selectedRow(const QTableView* list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool SalesHistoryScreen::deleteLine(QTableView* list, const QString& question,
                                    const std::function<bool(qint64 id)>& removeLine)
{
    if (!m_context.CheckAdmin())
        return false;
    const int row = selectedRow(list);
    if (row < 0) {
        m_context.dialogs().beep();
        return false;
    }
    const qint64 id = static_cast<const HistoryListModel*>(list->model())->id(row);
    if (m_context.dialogs().message(m_context.window(), TranslateText("Confirm"), question, Dialogs::Icon::Question,
                                    Dialogs::Yes | Dialogs::No)
        == Dialogs::Yes)
        removeLine(id);
    return true;
}

void SalesHistoryScreen::Delete2Click()
{
    // Reloaded whatever the answer was.
    if (deleteLine(ListView2, TranslateText("Are you sure you want to delete the payment?"),
                   [this](qint64 id) { return PaymentsTable(m_context.SQLConnection1()).remove(id); }))
        BitBtn18Click();
}

void SalesHistoryScreen::Delete3Click()
{
    if (deleteLine(ListView3, TranslateText("Are you sure you want to delete the credit?"),
                   [this](qint64 id) { return CreditLinesTable(m_context.SQLConnection1()).remove(id); }))
        BitBtn19Click();
}

ReprintFormat SalesHistoryScreen::reprintFormat() const
{
    return {m_context.receipts.CurrencySymbol, m_context.env().shortDateFormat(), m_context.env().longTimeFormat()};
}

void SalesHistoryScreen::Print1Click()
{
    const int row = selectedRow(ListView2);
    if (row < 0) {
        m_context.dialogs().beep();
        return;
    }
    const QString text = RenderPaymentReprint(ReceiptTemplateText(m_context.receipts.ReceiptTemplate),
                                              m_paymentsModel->rowTexts(row), reprintFormat());
    PrintReceipt(m_context, m_context.window(), ReceiptPrintJob(text));
}

void SalesHistoryScreen::Print2Click()
{
    const int row = selectedRow(ListView3);
    if (row < 0) {
        m_context.dialogs().beep();
        return;
    }
    const QString text = RenderCreditReprint(ReceiptTemplateText(m_context.receipts.ReceiptTemplate),
                                             m_creditsModel->rowTexts(row), reprintFormat());
    ReceiptPrintJob job(text);
    job.translateError = true;
    PrintReceipt(m_context, m_context.window(), job);
}

QHeaderView* SalesHistoryScreen::paymentsHeader() const
{
    return ListView2->horizontalHeader();
}

QHeaderView* SalesHistoryScreen::creditsHeader() const
{
    return ListView3->horizontalHeader();
}

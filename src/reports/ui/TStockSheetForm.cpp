#include "reports/ui/TStockSheetForm.h"

#include "app/ui/LongTaskRunner.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "barcode/ui/TGenerateBarcodeForm.h"
#include "i18n/Translator.h"
#include "reports/CsvFile.h"
#include "reports/ui/ReportTable.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/StockCountSheet.h"
#include "reports/TextTableModel.h"
#include "store/WorkerConnection.h"

#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>

namespace {

constexpr int kColumns = 5;

// Shared by every opening of the sheet during a run: geometry is saved only once the opener has restored it, and
// the state last seen tells a return from the maximized state.
bool g_resizeGuard = false;
QString g_lastWindowState;

} // namespace

TStockSheetForm::TStockSheetForm(AppContext& context) : QDialog(context.window()), m_context(context)
{
    setObjectName(QStringLiteral("StockSheetForm"));
    setWindowTitle(TranslateText("Stock Inventory Count Sheet"));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(640, 480);

    m_model = new TextTableModel(kColumns, this);
    m_model->setTitles({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Price"),
                        TranslateText("Stock"), TranslateText("Date")});
    ListView1 = MakeReportTable(this, TranslateText("Stock Inventory Count Sheet"), m_model);
    QHeaderView* header = ListView1->horizontalHeader();
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    for (int column = 0; column < kColumns; ++column)
        header->resizeSection(column, int(context.settings().integer(SettingKey::StockSheetColumn, column + 1)));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* generate = PopupMenu1->addAction(QStringLiteral("Generate Barcode Image"));
    generate->setObjectName(QStringLiteral("GenerateBarcodeImage1"));

    BitBtn1 = new QPushButton(TranslateText("Export to File..."), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    BitBtn2 = new QPushButton(TranslateText("Generate Barcode Image..."), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    SaveDialog1 = new CsvFileDialog(CsvFileDialog::Kind::Save, this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->prepareForCsv();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    Timer2->start();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);

    connect(Timer1, &QTimer::timeout, this, Guarded(m_context, this, &TStockSheetForm::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, Guarded(m_context, this, &TStockSheetForm::SaveColumnWidths));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded(m_context, this, &TStockSheetForm::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded(m_context, this, &TStockSheetForm::GenerateBarcodeClick));
    connect(generate, &QAction::triggered, this, Guarded(m_context, this, &TStockSheetForm::GenerateBarcodeClick));
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { m_context.runGuarded([this, column] { ListView1ColumnClick(column); }); });
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos)); });
}

TStockSheetForm::~TStockSheetForm()
{
    // Barcode windows opened from the sheet stay open after it closes.
    for (auto* generator : findChildren<TGenerateBarcodeForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool visible = generator->isVisible();
        generator->setParent(m_context.window(), generator->windowFlags());
        if (visible)
            generator->show();
    }
}

void TStockSheetForm::Timer1Timer()
{
    Timer1->stop();
    std::vector<QString> cells;
    QString error;
    const QString dataFile = m_context.SQLConnection1().path();
    QStringList engineErrors;
    const bool finished =
        LongTaskRunner::run(this, TranslateText("Stock Inventory Count Sheet"), [&](LongTaskProgress& progress) {
            WorkerConnection connection(dataFile, progress.cancelCheck());
            if (connection.isOpen() && !LoadStockSheet(connection.db(), cells, &error, &progress))
                engineErrors << error;
            engineErrors = connection.errors() + engineErrors;
        });
    if (!finished)
        cells.clear(); // cancelled: an empty sheet rather than part of one
    else
        for (const QString& message : engineErrors)
            if (!message.isEmpty())
                m_context.ReportDatabaseError(message);
    m_model->setCells(std::move(cells));
}

void TStockSheetForm::ListView1ColumnClick(int column)
{
    if (column == m_sortColumn) {
        m_descending = !m_descending;
    } else {
        m_sortColumn = column;
        m_descending = false;
    }
    SortStockSheet(*m_model, m_sortColumn, m_descending);
    QHeaderView* header = ListView1->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(m_sortColumn, m_descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TStockSheetForm::BitBtn1Click()
{
    const QString path = SaveDialog1->execute(m_context.dialogs(), this);
    if (path.isEmpty())
        return;
    CsvWriter writer(m_context.CsvSeparator);
    writer.addLine({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Price"), TranslateText("Stock"),
                    TranslateText("Datetime"), TranslateText("Date"), TranslateText("Time")});
    for (int row = 0; row < m_model->rowCount(); ++row)
        writer.addLine(StockSheetCsvFields(m_model->rowTexts(row)));
    QString error;
    if (!writer.save(path, &error))
        m_context.ShowError(error);
}

void TStockSheetForm::GenerateBarcodeClick()
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_context.dialogs().warning(this, TranslateText("WARNING"), TranslateText("No item selected!"));
        return;
    }
    // A child of the sheet, so the modal sheet does not block it.
    auto* generator = new TGenerateBarcodeForm(m_context.dialogs(), m_model->text(selected.first().row(), 0), this);
    generator->show();
    generator->raise();
    generator->activateWindow();
}

void TStockSheetForm::SaveColumnWidths()
{
    const SettingsStore& settings = m_context.settings();
    std::vector<SettingsStore::Change> changed;
    for (int column = 0; column < kColumns; ++column) {
        const int width = ListView1->horizontalHeader()->sectionSize(column);
        if (!settings.contains(SettingKey::StockSheetColumn, column + 1)
            || settings.integer(SettingKey::StockSheetColumn, column + 1) != width)
            changed.push_back({SettingKey::StockSheetColumn, qint64(width), column + 1});
    }
    m_context.settings().set(changed);
}

void TStockSheetForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (g_resizeGuard)
        m_context.runGuarded([this] { FormResize(); });
}

void TStockSheetForm::FormResize()
{
    SettingsStore& settings = m_context.settings();
    const Qt::WindowStates state = windowState();
    std::vector<SettingsStore::Change> changes;
    if (state & Qt::WindowMinimized) {
        // nothing to remember
    } else if (state & Qt::WindowMaximized) {
        changes.push_back({SettingKey::StockSheetWindowState, QStringLiteral("Maximized")});
        g_lastWindowState = QStringLiteral("wsMaximized");
    } else {
        const bool fromMaximized = g_lastWindowState == QLatin1String("wsMaximized");
        g_lastWindowState = QStringLiteral("wsNormal");
        if (fromMaximized) {
            // Back to the size it had before it was maximized.
            if (settings.contains(SettingKey::StockSheetHeight))
                resize(width(), int(settings.integer(SettingKey::StockSheetHeight)));
            if (settings.contains(SettingKey::StockSheetWidth))
                resize(int(settings.integer(SettingKey::StockSheetWidth)), height());
        }
        changes.push_back({SettingKey::StockSheetHeight, qint64(height())});
        changes.push_back({SettingKey::StockSheetWidth, qint64(width())});
        changes.push_back({SettingKey::StockSheetWindowState, QStringLiteral("Normal")});
    }
    settings.set(changes);
}

void OpenStockSheetForm(AppContext& context)
{
    TStockSheetForm form(context);
    g_resizeGuard = false;
    const SettingsStore& settings = context.settings();
    if (settings.contains(SettingKey::StockSheetWidth))
        form.resize(int(settings.integer(SettingKey::StockSheetWidth)), form.height());
    if (settings.contains(SettingKey::StockSheetHeight))
        form.resize(form.width(), int(settings.integer(SettingKey::StockSheetHeight)));
    if (settings.text(SettingKey::StockSheetWindowState) == QLatin1String("Maximized"))
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
    g_resizeGuard = true;
    context.dialogs().execModal(form);
}

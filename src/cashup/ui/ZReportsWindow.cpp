#include "cashup/ui/ZReportsWindow.h"

#include "app/AppContext.h"
#include "app/ui/GuardedHandler.h"
#include "cashup/DaySummaryText.h"
#include "cashup/ZReportText.h"
#include "cashup/ZReportsExport.h"
#include "cashup/ui/ReportTextWindow.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "reports/TextTableModel.h"
#include "reports/ui/CsvExportRunner.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/ui/DateTillFilterBar.h"
#include "reports/ui/ReportTable.h"
#include "store/ZReportsTable.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include <set>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QString Day(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

} // namespace

ZReportsWindow::ZReportsWindow(AppContext& context) : QDialog(context.window()), m_context(context)
{
    setObjectName(QStringLiteral("ZReportsWindow"));
    setWindowTitle(TranslateText("Z Reports"));
    resize(880, 520);
    Database& db = m_context.SQLConnection1();

    const QDate today = m_context.env().now().date();
    std::set<QString> tills{db.tillName()};
    for (const QString& till : ZReportsTable(db).tills())
        tills.insert(till);
    QStringList named;
    for (const QString& till : tills)
        if (!till.isEmpty())
            named << till;
    const DateTillFilterBar dateTill(this, today, m_context.env().shortDateFormat(), named);
    BeginDate = dateTill.BeginDate;
    EndDate = dateTill.EndDate;
    TillFilter = dateTill.TillFilter;

    m_model = new TextTableModel(ZReportColumnCount, this);
    m_model->setTitles({TranslateText("Till"), TranslateText("Z"), TranslateText("Opened"), TranslateText("Closed"),
                        TranslateText("Sales"), TranslateText("Expected cash"), TranslateText("Counted cash"),
                        TranslateText("Difference")});
    ReportsList = MakeReportTable(this, TranslateText("Z Reports"), m_model);
    ReportsList->setObjectName(QStringLiteral("ReportsList"));
    const int widths[] = {110, 50, 140, 140, 100, 100, 100, 90};
    for (int i = 0; i < ZReportColumnCount; ++i)
        ReportsList->horizontalHeader()->resizeSection(i, widths[i]);

    ShowButton = makeButton(this, "ShowButton", TranslateText("Show..."));
    ReprintButton = makeButton(this, "ReprintButton", TranslateText("Reprint"));
    ExportButton = makeButton(this, "ExportButton", TranslateText("Export to File..."));
    ExportButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    CloseButton = makeButton(this, "CloseButton", TranslateText("Close"));

    auto* filters = new QGridLayout;
    dateTill.addTo(*filters, 0, 4);
    filters->setColumnStretch(6, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ShowButton);
    buttons->addWidget(ReprintButton);
    buttons->addWidget(ExportButton);
    buttons->addStretch(1);
    // The day across the tills means something only where several tills share the database.
    if (db.recordsTill()) {
        SummaryDate = MakeDateEdit(this, "SummaryDate", today, m_context.env().shortDateFormat());
        SummaryDate->setAccessibleName(TranslateText("Day of the summary"));
        SummaryButton = makeButton(this, "SummaryButton", TranslateText("Day Summary..."));
        buttons->addWidget(SummaryDate);
        buttons->addWidget(SummaryButton);
    }
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(ReportsList, 1);
    layout->addLayout(buttons);

    QWidget* order[] = {BeginDate, EndDate,      TillFilter,  ReportsList,  ShowButton,
                        ReprintButton, ExportButton, SummaryDate, SummaryButton, CloseButton};
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (!control)
            continue;
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }

    connect(BeginDate, &QDateEdit::dateChanged, this, Guarded(m_context, this, &ZReportsWindow::FilterChange));
    connect(EndDate, &QDateEdit::dateChanged, this, Guarded(m_context, this, &ZReportsWindow::FilterChange));
    connect(TillFilter, &QComboBox::currentIndexChanged, this, Guarded(m_context, this, &ZReportsWindow::FilterChange));
    connect(ReportsList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            Guarded(m_context, this, &ZReportsWindow::SelectionChange));
    connect(ReportsList, &QTableView::activated, this, Guarded(m_context, this, &ZReportsWindow::ShowClick));
    connect(ShowButton, &QPushButton::clicked, this, Guarded(m_context, this, &ZReportsWindow::ShowClick));
    connect(ReprintButton, &QPushButton::clicked, this, Guarded(m_context, this, &ZReportsWindow::ReprintClick));
    connect(ExportButton, &QPushButton::clicked, this, Guarded(m_context, this, &ZReportsWindow::ExportClick));
    if (SummaryButton)
        connect(SummaryButton, &QPushButton::clicked, this, Guarded(m_context, this, &ZReportsWindow::SummaryClick));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    FilterChange();
    ReportsList->setFocus();
}

ZReportsWindow::~ZReportsWindow() = default;

const ZReport* ZReportsWindow::selectedReport() const
{
    const QModelIndexList rows = ReportsList->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : &m_reports.at(size_t(rows.first().row()));
}

void ZReportsWindow::FilterChange()
{
    // A failed lookup (reported) lists nothing rather than keeping the rows of the filter before.
    m_reports = ZReportsOf(m_context.SQLConnection1(), Day(BeginDate->date()), Day(EndDate->date()),
                           TillFilter->currentData().toString())
                    .value_or(std::vector<ZReport>());
    m_model->setCells(ZReportListCells(m_reports));
    SelectionChange();
}

void ZReportsWindow::SelectionChange()
{
    const bool selected = selectedReport() != nullptr;
    ShowButton->setEnabled(selected);
    ReprintButton->setEnabled(selected);
}

void ZReportsWindow::ShowClick()
{
    const ZReport* z = selectedReport();
    if (!z) {
        m_context.dialogs().beep();
        return;
    }
    ShowReportText(m_context, this, TranslateText("Z Report"), ZReportText(*z, m_context.receipts.CurrencySymbol));
}

void ZReportsWindow::ReprintClick()
{
    const ZReport* z = selectedReport();
    if (!z) {
        m_context.dialogs().beep();
        return;
    }
    PrintReportLines(m_context, this, TranslateText("Z Report"), ZReportText(*z, m_context.receipts.CurrencySymbol));
}

void ZReportsWindow::ExportClick()
{
    CsvFileDialog& dialog = CsvFileDialog::mainSaveDialog(m_context);
    dialog.prepareForCsv();
    const QString path = dialog.execute(m_context.dialogs(), this);
    if (path.isEmpty())
        return;
    const QString from = Day(BeginDate->date());
    const QString until = Day(EndDate->date());
    const QString till = TillFilter->currentData().toString();
    const QChar separator = m_context.CsvSeparator;
    RunCsvExport(m_context, this, [&](Database& db, LongTaskProgress& progress) {
        return ExportZReportsCsv(db, from, until, till, separator, path, &progress);
    });
}

void ZReportsWindow::SummaryClick()
{
    const std::optional<DaySummary> summary = ReadDaySummary(m_context.SQLConnection1(), Day(SummaryDate->date()));
    if (!summary)
        return;
    ShowReportText(m_context, this, TranslateText("Day Summary"),
                   DaySummaryText(*summary, m_context.receipts.CurrencySymbol));
}

void OpenZReportsWindow(AppContext& context)
{
    ZReportsWindow window(context);
    context.dialogs().execModal(window);
}

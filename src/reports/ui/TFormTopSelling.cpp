#include "reports/ui/TFormTopSelling.h"

#include "app/ui/LongTaskRunner.h"
#include "app/ui/GuardedHandler.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "platform/Environment.h"
#include "reports/CsvFile.h"
#include "reports/ui/ReportTable.h"
#include "reports/ui/CsvFileDialog.h"
#include "reports/TextTableModel.h"
#include "reports/TopSellersSeries.h"
#include "reports/TopSellingReport.h"
#include "reports/ui/TopSellersChart.h"
#include "store/WorkerConnection.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>

namespace {

QTimer* makeTimer(QObject* parent, const char* name, bool armed)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(10);
    if (armed)
        timer->start();
    return timer;
}

} // namespace

TFormTopSelling::TFormTopSelling(AppContext& context) : QDialog(context.window()), m_context(context)
{
    setObjectName(QStringLiteral("FormTopSelling"));
    setWindowTitle(TranslateText("Top Selling Products"));
    resize(1040, 480);

    RadioButton1 = new QRadioButton(TranslateText("Unit"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(TranslateText("Price"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));

    const QString dateFormat = context.env().shortDateFormat();
    DateTimePicker1 = new QDateEdit(QDate(2000, 1, 1), this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new QDateEdit(context.env().now().date().addDays(1), this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    auto* beginLabel = new QLabel(TranslateText("Begin:"), this);
    beginLabel->setBuddy(DateTimePicker1);
    auto* endLabel = new QLabel(TranslateText("End:"), this);
    endLabel->setBuddy(DateTimePicker2);
    for (QDateEdit* date : {DateTimePicker1, DateTimePicker2}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(dateFormat);
    }

    m_model = new TextTableModel(4, this);
    m_model->setTitles({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Unit"),
                        TranslateText("Price")});
    ListView1 = MakeReportTable(this, TranslateText("Top Selling Products"), m_model);
    ListView1->horizontalHeader()->setSectionsClickable(false);
    const int widths[] = {122, 118, 118, 118};
    for (int i = 0; i < 4; ++i)
        ListView1->horizontalHeader()->resizeSection(i, widths[i]);

    Chart = new TopSellersChart(context.dialogs(), context.receipts.CurrencySymbol, this);

    BitBtn1 = new QPushButton(TranslateText("Export to File..."), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);

    SaveDialog1 = new CsvFileDialog(CsvFileDialog::Kind::Save, this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->prepareForCsv();

    // The quantity ranking is filled as soon as the window shows.
    Timer1 = makeTimer(this, "Timer1", true);
    Timer2 = makeTimer(this, "Timer2", false);

    auto* ranking = new QHBoxLayout;
    ranking->addWidget(RadioButton1);
    ranking->addWidget(RadioButton2);
    ranking->addStretch(1);
    auto* range = new QHBoxLayout;
    range->addWidget(beginLabel);
    range->addWidget(DateTimePicker1);
    range->addWidget(endLabel);
    range->addWidget(DateTimePicker2);
    range->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 0);
    content->addLayout(ranking);
    content->addLayout(range);
    auto* listAndChart = new QHBoxLayout;
    listAndChart->addWidget(ListView1, 1);
    listAndChart->addWidget(Chart, 1);
    content->addLayout(listAndChart, 1);
    content->addLayout(bottom);
    layout->addLayout(content, 1);
    layout->addWidget(StatusBar1);

    connect(RadioButton1, &QRadioButton::clicked, this, Guarded(m_context, this, &TFormTopSelling::RadioButton1Click));
    connect(RadioButton2, &QRadioButton::clicked, this, Guarded(m_context, this, &TFormTopSelling::RadioButton2Click));
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, Guarded(m_context, this,
                                                                    &TFormTopSelling::DateTimePickerChange));
    connect(DateTimePicker2, &QDateEdit::dateChanged, this, Guarded(m_context, this,
                                                                    &TFormTopSelling::DateTimePickerChange));
    connect(Timer1, &QTimer::timeout, this, Guarded(m_context, this, &TFormTopSelling::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, Guarded(m_context, this, &TFormTopSelling::Timer2Timer));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded(m_context, this, &TFormTopSelling::BitBtn1Click));
}

void TFormTopSelling::RadioButton1Click()
{
    Timer1->start();
}

void TFormTopSelling::RadioButton2Click()
{
    Timer2->start();
}

void TFormTopSelling::DateTimePickerChange()
{
    (RadioButton2->isChecked() ? Timer2 : Timer1)->start();
}

void TFormTopSelling::Timer1Timer()
{
    Timer1->stop();
    fill(TopSellingRanking::Quantity);
}

void TFormTopSelling::Timer2Timer()
{
    Timer2->stop();
    fill(TopSellingRanking::Amount);
}

void TFormTopSelling::fill(TopSellingRanking ranking)
{
    std::vector<QString> cells;
    const QString dataFile = m_context.SQLConnection1().path();
    const QDate begin = DateTimePicker1->date();
    const QDate end = DateTimePicker2->date();
    QStringList engineErrors;
    const bool finished =
        LongTaskRunner::run(this, TranslateText("Top Selling Products"), [&](LongTaskProgress& progress) {
            WorkerConnection connection(dataFile, progress.cancelCheck());
            if (connection.isOpen())
                LoadTopSelling(connection.db(), begin, end, ranking, cells, &progress);
            engineErrors = connection.errors();
        });
    if (!finished)
        cells.clear(); // cancelled: an empty list rather than part of one
    for (const QString& message : engineErrors)
        m_context.ReportDatabaseError(message);
    m_model->setCells(std::move(cells));
    Chart->setSellers(TopSellers(*m_model, ranking), ranking);
}

void TFormTopSelling::BitBtn1Click()
{
    const QString path = SaveDialog1->execute(m_context.dialogs(), this);
    if (path.isEmpty())
        return;
    CsvWriter writer(m_context.CsvSeparator);
    writer.addLine({TranslateText("Barcode"), TranslateText("Product"), TranslateText("Unit"), TranslateText("Price")});
    for (int row = 0; row < m_model->rowCount(); ++row)
        writer.addLine(m_model->rowTexts(row));
    QString error;
    if (!writer.save(path, &error))
        m_context.ShowError(error);
}

void OpenTopSellingForm(AppContext& context)
{
    TFormTopSelling form(context);
    context.dialogs().execModal(form);
}

// Measures the program's own code paths against the least work SQLite needs for the same result, on
// generated data sets of a big shop. Run: build/bin/quenvale_bench (see README).

#include "BaselineSale.h"
#include "BenchSupport.h"
#include "CashupBench.h"
#include "DataSet.h"
#include "Harness.h"
#include "LoadRun.h"
#include "ServerBaselines.h"
#include "ServerDataSet.h"

#include "core/SettingsStore.h"
#include "app/ui/TAppForm.h"
#include "app/ui/ThemeApply.h"
#include "app/Themes.h"
#include "catalogue/ui/TUrunlerForm.h"
#include "pos/ui/CashCheckout.h"
#include "pos/ui/SaleScreen.h"
#include "reports/ProductImport.h"
#include "reports/SalesHistory.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "reports/TakingsSeries.h"
#include "reports/ui/ChartPanel.h"
#include "reports/ui/TakingsChartWindow.h"
#include "reports/ui/TFormTopSelling.h"
#include "reports/TableExport.h"
#include "reports/ReceiptsListModel.h"
#include "reports/TextTableModel.h"
#include "reports/ui/ReceiptsWindow.h"
#include "reports/ui/ReportTable.h"
#include "store/Database.h"
#include "store/ProductsTable.h"

#include <QApplication>
#include <QBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QLabel>
#include <QProcess>
#include <QTreeWidget>
#include <QTableView>
#include <QHeaderView>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>

namespace {

// A second connection for the baselines: plain C API, prepared statements.
class RawDb
{
public:
    explicit RawDb(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~RawDb() { sqlite3_close(m_db); }
    sqlite3* get() const { return m_db; }
    void exec(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

struct Stmt
{
    sqlite3_stmt* s = nullptr;
    Stmt(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s, nullptr); }
    ~Stmt() { sqlite3_finalize(s); }
};

QString columnText(sqlite3_stmt* s, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)), sqlite3_column_bytes(s, i));
}

QString money(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    return QString::fromLatin1(buffer);
}

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

void waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

std::unique_ptr<TAppForm> startProgram(BenchEnvironment& env, BenchDialogs& dialogs)
{
    auto form = std::make_unique<TAppForm>(env, dialogs);
    form->TimerChecker->stop(); // the update check is not part of any measured path
    bool opened = false;
    QObject::connect(form.get(), &TAppForm::databaseOpened, [&opened] { opened = true; });
    form->show();
    waitUntil([&opened] { return opened; });
    return form;
}

void setHistoryRange(SalesHistoryScreen& history, const QDate& begin, const QDate& end)
{
    history.findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(begin);
    history.findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))->setDate(end);
    history.findChild<QTimeEdit*>(QStringLiteral("DateTimePicker3"))->setTime(QTime(0, 0));
    history.findChild<QTimeEdit*>(QStringLiteral("DateTimePicker4"))->setTime(QTime(23, 59, 59));
}

// The controls of the top selling report the bench drives.
struct TopSellingControls
{
    explicit TopSellingControls(TFormTopSelling& report)
        : begin(report.findChild<QDateEdit*>(QStringLiteral("DateTimePicker1")))
        , end(report.findChild<QDateEdit*>(QStringLiteral("DateTimePicker2")))
        , byUnit(report.findChild<QRadioButton*>(QStringLiteral("RadioButton1")))
        , byPrice(report.findChild<QRadioButton*>(QStringLiteral("RadioButton2")))
        , unitTimer(report.findChild<QTimer*>(QStringLiteral("Timer1")))
        , priceTimer(report.findChild<QTimer*>(QStringLiteral("Timer2")))
    {
    }

    // Both rankings have run.
    bool idle() const { return !unitTimer->isActive() && !priceTimer->isActive(); }

    QDateEdit* begin;
    QDateEdit* end;
    QRadioButton* byUnit;
    QRadioButton* byPrice;
    QTimer* unitTimer;
    QTimer* priceTimer;
};

// Runs one operation in a fresh program (this process, started for it alone) and gives the peak memory of the
// whole process, start-up included.
double PeakOfOperation(const QString& id, const QString& programFolder, const QString& workFolder)
{
    BenchEnvironment env;
    env.programFolder = programFolder;
    BenchDialogs dialogs;
    std::unique_ptr<TAppForm> form = startProgram(env, dialogs);
    if (id == QLatin1String("B3")) {
        Database db;
        db.open(workFolder + QStringLiteral("/data.db"));
        ProductsTable(db).removeAll();
        ImportProducts(db, workFolder + QStringLiteral("/products.csv"), QLatin1Char(';'), 1252,
                       [](const QString&) {});
    } else if (id == QLatin1String("B4m") || id == QLatin1String("B4y") || id == QLatin1String("B4yy")) {
        SalesHistoryScreen& history = *form->salesHistoryScreen();
        const QDate begin = id == QLatin1String("B4m") ? QDate(2025, 3, 1)
                            : id == QLatin1String("B4y") ? QDate(2025, 1, 1)
                                                         : QDate(2024, 1, 1);
        setHistoryRange(history, begin, id == QLatin1String("B4m") ? QDate(2025, 3, 31) : QDate(2025, 12, 31));
        history.BitBtn18Click();
        QCoreApplication::processEvents();
    } else if (id == QLatin1String("B5")) {
        TFormTopSelling report(form->context());
        const TopSellingControls controls(report);
        controls.begin->setDate(QDate(2024, 1, 1));
        controls.end->setDate(QDate(2026, 1, 1));
        controls.byPrice->click();
        waitUntil([&controls] { return controls.idle(); });
    } else if (id == QLatin1String("B6")) {
        ExportPaymentsCsv(form->context().SQLConnection1(), QLatin1Char(';'), workFolder + QStringLiteral("/peak.csv"));
    }
    return PeakMemoryMiB();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QUENVALE_SERVICE_URL", "http://127.0.0.1:9");
    QApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--startup-program")) {
        ApplyTheme(ThemeIndexOf(QStringLiteral("Amakrits"))); // as the program's entry does
        BenchEnvironment env;
        env.programFolder = args[2];
        BenchDialogs dialogs;
        startProgram(env, dialogs);
        std::_Exit(0); // measured up to here: no tear-down, in either child

    }
    if (args.size() == 5 && args[1] == QLatin1String("--peak")) {
        std::printf("%.1f\n", PeakOfOperation(args[2], args[3], args[4]));
        std::fflush(stdout);
        std::_Exit(0);
    }
    if (args.size() == 3 && args[1] == QLatin1String("--startup-baseline")) {
        // The least a till window is: a main window of the same size with a menu, a list and a few buttons,
        // its fonts loaded and its first frame painted, then the same file opened.
        ApplyTheme(ThemeIndexOf(QStringLiteral("Amakrits")));
        QMainWindow window;
        window.resize(841, 619);
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Operations"));
        for (const char* entry : {"Backup...", "Restore from Backup...", "Export", "Import", "Exit"})
            menu->addAction(QString::fromLatin1(entry));
        window.menuBar()->addMenu(QStringLiteral("Reports"))->addAction(QStringLiteral("Top Selling Products..."));
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        auto* list = new QListWidget(central);
        list->addItems({QStringLiteral("Milk"), QStringLiteral("Tea"), QStringLiteral("Bread")});
        layout->addWidget(list);
        for (const char* caption : {"SELL BY CASH", "SELL BY CREDIT", "PRODUCTS", "CUSTOMERS", "SALES"})
            layout->addWidget(new QPushButton(QString::fromLatin1(caption), central));
        window.setCentralWidget(central);
        window.show();
        QCoreApplication::processEvents();
        (void)window.grab(); // the first frame, text and all
        RawDb db(args[2]);
        for (const char* sql : {"PRAGMA table_info(urunler);", "PRAGMA table_info(veresiyeler);",
                                "PRAGMA table_info(odemeler);"}) {
            Stmt statement(db.get(), sql);
            while (sqlite3_step(statement.s) == SQLITE_ROW) {
            }
        }
        std::_Exit(0);
    }

    // "--only B1,B6" runs just those operations (for profiling one path); "--only L1" just the load run.
    QStringList only;
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--only"))
            only = args[i + 1].split(QLatin1Char(','));
    auto wanted = [&only](const char* id) { return only.isEmpty() || only.contains(QLatin1String(id)); };
    const QString serverUrl = qEnvironmentVariable("QUENVALE_TEST_PG_URL");
    // L1: tills storing their sales at once on the server (see LoadRun.h); it needs none of the data set.
    const LoadSettings load = LoadSettings::fromArguments(args);
    auto runLoad = [&] {
        std::printf("Load run on the server (%s)...\n", qPrintable(load.description()));
        std::fflush(stdout);
        PrintLoadTable(RunLoad(serverUrl, load));
    };
    if (only == QStringList{QStringLiteral("L1")}) {
        runLoad();
        return 0;
    }

    const bool small = app.arguments().contains(QStringLiteral("--small")); // a quick run of the harness itself
    DataSetSize size;
    if (small)
        size = DataSetSize{5000, 200, 4000, 20000, 7300};

    // QUENVALE_BENCH_DIR keeps the generated data between runs (for profiling); otherwise a temporary folder.
    QTemporaryDir tempDir;
    struct { QString value; QString path() const { return value; } } dir{
        qEnvironmentVariableIsEmpty("QUENVALE_BENCH_DIR") ? tempDir.path() : qEnvironmentVariable("QUENVALE_BENCH_DIR")};
    const QString runtime = QStringLiteral(QUENVALE_RUNTIME_DIR);
    const QString program = dir.path() + QStringLiteral("/program/");
    QDir().mkpath(program);
    QFile::copy(runtime + QStringLiteral("/empty.db"), program + QStringLiteral("empty.db"));
    copyFolder(runtime + QStringLiteral("/Languages"), program + QStringLiteral("Languages"));

    std::printf("Generating the data set (%d products, %d customers, %d credit lines, %d payments, %d records of "
                "other tills)...\n",
                size.products, size.customers, size.credits, size.payments, size.otherTillRecords);
    std::fflush(stdout);
    const bool reuse = !qEnvironmentVariableIsEmpty("QUENVALE_BENCH_DIR") && QFile::exists(program + QStringLiteral("data.db"));
    const QStringList barcodes = reuse ? ExistingBarcodes(program + QStringLiteral("data.db"))
                                       : CreateDataSet(program + QStringLiteral("empty.db"), program, size);
    const QString dataFile = program + QStringLiteral("data.db");

    BenchEnvironment env;
    env.programFolder = program;
    BenchDialogs dialogs;
    std::unique_ptr<TAppForm> form = startProgram(env, dialogs);
    SaleScreen& sale = *form->saleScreen();
    RawDb raw(dataFile);

    std::vector<BenchResult> results;
    auto codeAt = [&barcodes](int i) { return barcodes.at((i * 7919) % barcodes.size()); };

    // The server column: B1, B2, B4 month and B9 once more with the program's database on a PostgreSQL server
    // (QUENVALE_TEST_PG_URL; scripts/with-test-database-server.sh starts a private one), in a database of its own
    // loaded with the same rows, against libpq doing the same statements.
    ServerFigures serverMissing;
    std::unique_ptr<ServerDataSet> serverData;
    std::unique_ptr<ServerBaselines> serverRaw;
    BenchEnvironment serverEnv;
    std::unique_ptr<TAppForm> serverForm;
    if (serverUrl.isEmpty()) {
        serverMissing.state = ServerFigures::State::NotGiven;
        serverMissing.reason = QStringLiteral("not given (QUENVALE_TEST_PG_URL is unset; "
                                              "scripts/with-test-database-server.sh sets it)");
    } else if (wanted("B1") || wanted("B2") || wanted("B4") || wanted("B9")) {
        std::printf("Loading the data set into a database on the server...\n");
        std::fflush(stdout);
        serverData = std::make_unique<ServerDataSet>(serverUrl, dataFile);
        if (serverData->ready())
            serverRaw = std::make_unique<ServerBaselines>(serverData->url());
        if (serverData->ready() && serverRaw->ready()) {
            // A second till whose settings name the server.
            serverEnv.programFolder = dir.path() + QStringLiteral("/server-program/");
            copyFolder(program + QStringLiteral("Languages"), serverEnv.programFolder + QStringLiteral("Languages"));
            QFile::copy(program + QStringLiteral("empty.db"), serverEnv.programFolder + QStringLiteral("empty.db"));
            SettingsStore(serverEnv.programFolder + QStringLiteral("settings.ini"))
                .set({{SettingKey::DatabaseUrl, serverData->url()}, {SettingKey::TillName, QStringLiteral("bench")}});
            serverForm = startProgram(serverEnv, dialogs);
        } else {
            serverMissing.state = ServerFigures::State::Failed;
            serverMissing.reason = serverData->ready() ? serverRaw->error() : serverData->error();
        }
    }
    // Runs the server's side of an operation when there is a server, and says why not otherwise.
    auto measureOnServer = [&](const std::function<BenchOperation()>& serverOperation) {
        results.back().server = serverForm ? RunOnServer(serverOperation()) : serverMissing;
    };

    // B1: twenty scans into the sale list.
    if (wanted("B1")) {
        BenchOperation op{QStringLiteral("B1"), QStringLiteral("20 scans into the sale list"), 3.0, 15,
                          [&sale] { sale.sale().clear(); }, {}, {}};
        op.program = [&] {
            for (int i = 0; i < 20; ++i)
                sale.BarkodOkundu(codeAt(i));
        };
        // The least a till must do per scan: the lookup, the row's texts in a list, the new total on a label.
        QTreeWidget bareList;
        bareList.setColumnCount(7);
        QLabel bareTotal;
        op.baseline = [&] {
            bareList.clear();
            Stmt lookup(raw.get(), "SELECT * FROM urunler where barkod=?;");
            std::vector<std::array<QString, 7>> rows;
            for (int i = 0; i < 20; ++i) {
                const QByteArray code = codeAt(i).toUtf8();
                sqlite3_bind_text(lookup.s, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
                while (sqlite3_step(lookup.s) == SQLITE_ROW) {
                    const double price = sqlite3_column_double(lookup.s, 3);
                    rows.push_back({columnText(lookup.s, 1), columnText(lookup.s, 2), money(price),
                                    QStringLiteral("1"), money(price), QString(), QString()});
                    const auto& r = rows.back();
                    new QTreeWidgetItem(&bareList, QStringList{r[0], r[1], r[2], r[3], r[4], r[5], r[6]});
                }
                sqlite3_reset(lookup.s);
                double total = 0;
                for (const auto& row : rows)
                    total += row[4].toDouble();
                bareTotal.setText(QStringLiteral("$ ") + money(total));
            }
        };
        results.push_back(RunOperation(op));
        measureOnServer([&] {
            SaleScreen* serverSale = serverForm->saleScreen();
            BenchOperation server{op.id, op.name, 1.5, op.repeats, [serverSale] { serverSale->sale().clear(); }, {}, {}};
            server.program = [serverSale, &codeAt] {
                for (int i = 0; i < 20; ++i)
                    serverSale->BarkodOkundu(codeAt(i));
            };
            server.baseline = [&] {
                QStringList codes;
                for (int i = 0; i < 20; ++i)
                    codes << codeAt(i);
                serverRaw->scan(codes, bareList, bareTotal);
            };
            return server;
        });
    }

    // B2: cash checkout of a fifty-line sale (its record, tender and lines), receipt rendered and saved.
    if (wanted("B2")) {
        const QString receipts = dir.path() + QStringLiteral("/receipts");
        QDir().mkpath(receipts);
        form->context().receipts.ReceiptFolder = receipts;
        // The receipt as the baselines write it: the template's lines with the list and the total put in.
        auto saveReceipt = [&](const QString& list, double total) {
            QString text = form->context().receipts.ReceiptTemplate.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
            text.replace(QStringLiteral("[LIST]"), list).replace(QStringLiteral("[TOTAL]"), money(total));
            QSaveFile file(receipts + QStringLiteral("/baseline.txt"));
            file.open(QIODevice::WriteOnly);
            file.write("\xEF\xBB\xBF" + text.toUtf8());
            file.commit();
        };
        // The next receipt number stored before the sale, as the program stores it: the settings file written
        // whole and synced to disk (on a server whose own writes are not synced, this is most of the difference).
        auto storeNextReceiptNumber = [&](const QString& settingsFile) {
            QFile settings(settingsFile);
            settings.open(QIODevice::ReadOnly);
            const QByteArray text = settings.readAll() + "ReceiptNumber=1000000\r\n";
            QSaveFile file(receipts + QStringLiteral("/baseline-settings.ini"));
            file.open(QIODevice::WriteOnly);
            file.write(text);
            file.commit();
        };
        const QString programSettings = program + QStringLiteral("settings.ini");
        BenchOperation op{QStringLiteral("B2"), QStringLiteral("cash checkout of 50 lines"), 1.5, 9, {}, {}, {}};
        op.setUp = [&] {
            sale.sale().clear();
            for (int i = 0; i < 50; ++i)
                sale.BarkodOkundu(codeAt(1000 + i));
            QCoreApplication::processEvents();
        };
        op.program = [&] { CashCheckout(form->context(), sale.sale()); };
        op.baseline = [&] {
            storeNextReceiptNumber(programSettings);
            const std::vector<SaleLine> lines = sale.sale().checkoutLines();
            // The record's amounts and the time, before anything is written: the record comes first.
            const BaselineSale prepared = PrepareBaselineSale(lines);
            const qint64 subtotal = prepared.subtotalCents;
            const qint64 total = prepared.totalCents;
            const QByteArray& saleId = prepared.saleId;
            const QByteArray& now = prepared.recordedAt;
            raw.exec("BEGIN IMMEDIATE");
            Stmt record(raw.get(), "INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, customer_id, "
                                   "customer_name, subtotal_cents, discount_cents, total_cents) VALUES (?,?,?,?,?,?,?,?,?,?);");
            sqlite3_bind_text(record.s, 1, saleId.constData(), int(saleId.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(record.s, 2, "bench", -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(record.s, 3, 999999);
            sqlite3_bind_text(record.s, 4, now.constData(), int(now.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(record.s, 5, "sale", -1, SQLITE_TRANSIENT);
            sqlite3_bind_null(record.s, 6);
            sqlite3_bind_null(record.s, 7);
            sqlite3_bind_int64(record.s, 8, subtotal);
            sqlite3_bind_int64(record.s, 9, subtotal - total);
            sqlite3_bind_int64(record.s, 10, total);
            sqlite3_step(record.s);
            Stmt tender(raw.get(), "INSERT INTO tenders (sale_id, position, tender_type, amount_cents, handed_cents, "
                                   "change_cents) VALUES (?,?,?,?,?,?);");
            sqlite3_bind_text(tender.s, 1, saleId.constData(), int(saleId.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(tender.s, 2, 1);
            sqlite3_bind_text(tender.s, 3, "Cash", -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(tender.s, 4, total);
            sqlite3_bind_null(tender.s, 5);
            sqlite3_bind_null(tender.s, 6);
            sqlite3_step(tender.s);
            Stmt insert(raw.get(), "insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi,sale_id) "
                                   "values (?,?,?,?,?,?,?);");
            Stmt stock(raw.get(), "SELECT stok FROM urunler where barkod=? order by id;");
            Stmt update(raw.get(), "update urunler set stok=? where barkod=?;");
            QString list;
            for (const SaleLine& line : lines) {
                const QByteArray code = line.barcode.toUtf8();
                const QByteArray name = line.name.toUtf8();
                sqlite3_bind_int64(insert.s, 1, 999999);
                sqlite3_bind_text(insert.s, 2, code.constData(), int(code.size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(insert.s, 3, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int64(insert.s, 4, line.quantity);
                sqlite3_bind_text(insert.s, 5, line.unitPrice.text().toUtf8().constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert.s, 6, now.constData(), int(now.size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(insert.s, 7, saleId.constData(), int(saleId.size()), SQLITE_TRANSIENT);
                sqlite3_step(insert.s);
                sqlite3_reset(insert.s);
                list += line.name + QStringLiteral(" (") + line.unitPrice.text() + QStringLiteral(") * ")
                        + QString::number(line.quantity) + QStringLiteral("\r\n");
            }
            for (const SaleLine* line : prepared.byBarcode) {
                const QByteArray code = line->barcode.toUtf8();
                sqlite3_bind_text(stock.s, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
                qint64 current = 0;
                while (sqlite3_step(stock.s) == SQLITE_ROW)
                    current = sqlite3_column_int64(stock.s, 0);
                sqlite3_reset(stock.s);
                sqlite3_bind_int64(update.s, 1, std::max<qint64>(0, current - line->quantity));
                sqlite3_bind_text(update.s, 2, code.constData(), int(code.size()), SQLITE_TRANSIENT);
                sqlite3_step(update.s);
                sqlite3_reset(update.s);
            }
            raw.exec("COMMIT");
            saveReceipt(list, double(total) / 100);
            sale.sale().clear();
        };
        results.push_back(RunOperation(op));
        measureOnServer([&] {
            AppContext* context = &serverForm->context();
            SaleScreen* serverSale = serverForm->saleScreen();
            context->receipts.ReceiptFolder = receipts;
            BenchOperation server{op.id, op.name, 1.5, op.repeats, {}, {}, {}};
            server.setUp = [serverSale, &codeAt] {
                serverSale->sale().clear();
                for (int i = 0; i < 50; ++i)
                    serverSale->BarkodOkundu(codeAt(1000 + i));
                QCoreApplication::processEvents();
            };
            server.program = [context, serverSale] { CashCheckout(*context, serverSale->sale()); };
            server.baseline = [&, serverSale] {
                storeNextReceiptNumber(serverEnv.programFolder + QStringLiteral("settings.ini"));
                const ServerBaselines::StoredSale stored =
                    serverRaw->storeSale(serverSale->sale().checkoutLines(), 999999, QStringLiteral("bench"));
                saveReceipt(stored.list, stored.total);
                serverSale->sale().clear();
            };
            return server;
        });
    }

    // B3: product import of a 100,000-line file into an empty catalogue.
    double importPeak = 0;
    if (wanted("B3")) {
        const QString importFolder = dir.path() + QStringLiteral("/import");
        QDir().mkpath(importFolder);
        QFile::copy(program + QStringLiteral("empty.db"), importFolder + QStringLiteral("/data.db"));
        QFile(importFolder + QStringLiteral("/data.db")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const QString csv = importFolder + QStringLiteral("/products.csv");
        WriteImportFile(csv, small ? 5000 : 100000);
        Database db;
        db.open(importFolder + QStringLiteral("/data.db"));
        RawDb importRaw(importFolder + QStringLiteral("/data.db"));
        BenchOperation op{QStringLiteral("B3"), QStringLiteral("import of 100,000 products"), 1.5, 3,
                          [&importRaw] { importRaw.exec("DELETE FROM urunler"); }, {}, {}};
        op.program = [&] { ImportProducts(db, csv, QLatin1Char(';'), 1252, [](const QString&) {}); };
        op.baseline = [&] {
            QFile file(csv);
            file.open(QIODevice::ReadOnly);
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
            importRaw.exec("BEGIN");
            Stmt insert(importRaw.get(), "insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?)");
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const QStringList f = lines[i].split(QLatin1Char(';'));
                if (f.size() < 4)
                    continue;
                for (int c = 0; c < 4; ++c) {
                    const QByteArray v = f[c].toUtf8();
                    sqlite3_bind_text(insert.s, c + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
                }
                sqlite3_step(insert.s);
                sqlite3_reset(insert.s);
            }
            importRaw.exec("COMMIT");
        };
        results.push_back(RunOperation(op));
        op.setUp();
        ResetPeakMemory();
        op.program();
        importPeak = PeakMemoryMiB();
    }

    // B4: the payments of one month and of one year on the history screen.
    double historyPeak = 0;
    if (wanted("B4")) {
        SalesHistoryScreen& history = *form->salesHistoryScreen();
        struct Range { const char* id; const char* name; QDate begin; QDate end; };
        const Range ranges[] = {{"B4m", "history payments, one month", QDate(2025, 3, 1), QDate(2025, 3, 31)},
                                {"B4y", "history payments, one year", QDate(2025, 1, 1), QDate(2025, 12, 31)}};
        for (const Range& range : ranges) {
            BenchOperation op{QString::fromLatin1(range.id), QString::fromLatin1(range.name), 1.5, 5, {}, {}, {}};
            op.setUp = [&] {
                history.paymentsModel()->clear();
                setHistoryRange(history, range.begin, range.end);
            };
            op.program = [&] { history.BitBtn18Click(); };
            op.baseline = [&] {
                struct Line { qint64 id; QString receipt, barcode, product, quantity, date; double price, total; };
                std::vector<Line> lines;
                double grand = 0;
                Stmt q(raw.get(), "SELECT id, fisno, barkod, urunadi, fiyat, adet, odemetarihi FROM odemeler "
                                  "where odemetarihi between ? and ? order by odemetarihi, id;");
                const QByteArray b = range.begin.toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
                const QByteArray e = range.end.toString(QStringLiteral("yyyy-MM-dd 23:59:59")).toLatin1();
                sqlite3_bind_text(q.s, 1, b.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(q.s, 2, e.constData(), -1, SQLITE_TRANSIENT);
                while (sqlite3_step(q.s) == SQLITE_ROW) {
                    Line l{sqlite3_column_int64(q.s, 0), columnText(q.s, 1), columnText(q.s, 2), columnText(q.s, 3),
                           columnText(q.s, 5), columnText(q.s, 6), sqlite3_column_double(q.s, 4), 0};
                    l.total = l.price * sqlite3_column_double(q.s, 5);
                    grand += l.total;
                    lines.push_back(std::move(l));
                }
                (void)money(grand);
            };
            results.push_back(RunOperation(op));
            if (QLatin1String(range.id) == QLatin1String("B4m")) {
                measureOnServer([&] {
                    SalesHistoryScreen* serverHistory = serverForm->salesHistoryScreen();
                    BenchOperation server{op.id, op.name, 1.5, op.repeats, {}, {}, {}};
                    server.setUp = [serverHistory, &range] {
                        serverHistory->paymentsModel()->clear();
                        setHistoryRange(*serverHistory, range.begin, range.end);
                    };
                    server.program = [serverHistory] { serverHistory->BitBtn18Click(); };
                    server.baseline = [&] {
                        serverRaw->history(range.begin.toString(QStringLiteral("yyyy-MM-dd 00:00:00")),
                                           range.end.toString(QStringLiteral("yyyy-MM-dd 23:59:59")));
                    };
                    return server;
                });
            }
            if (QLatin1String(range.id) == QLatin1String("B4y")) {
                op.setUp();
                ResetPeakMemory();
                op.program();
                historyPeak = PeakMemoryMiB();
                history.paymentsModel()->clear();
            }
        }
    }

    // B9: the receipts list of a month: from the records of one day, the first day of the month is set and the
    // month's first screen (a page of records with their tenders) is shown. The baseline reads the same page and its
    // tenders with two statements, makes the same cells and paints them in a bare table of the same size.
    if (wanted("B9")) {
        const auto receiptsOperation = [&](AppContext& context, const std::function<std::vector<QString>()>& readBare) {
            auto window = std::make_shared<ReceiptsWindow>(context);
            window->show();
            auto* begin = window->findChild<QDateEdit*>(QStringLiteral("BeginDate"));
            auto* list = window->findChild<QTableView*>(QStringLiteral("RecordsList"));
            auto bareModel = std::make_shared<TextTableModel>(ReceiptsListModel::ColumnCount);
            std::shared_ptr<QTableView> bareList(MakeReportTable(nullptr, QStringLiteral("Receipts"), bareModel.get()));
            bareList->resize(list->size());
            QStringList titles;
            for (int column = 0; column < ReceiptsListModel::ColumnCount; ++column) {
                titles << list->model()->headerData(column, Qt::Horizontal).toString();
                bareList->horizontalHeader()->resizeSection(column, list->horizontalHeader()->sectionSize(column));
            }
            bareModel->setTitles(titles);
            BenchOperation op{QStringLiteral("B9"), QStringLiteral("receipts list of a month, first screen"), 1.5, 15,
                              {}, {}, {}};
            op.setUp = [window, begin, bareModel] {
                begin->setDate(QDate(2025, 6, 30));
                bareModel->clear();
                QCoreApplication::processEvents();
            };
            op.program = [window, begin, list] {
                begin->setDate(QDate(2025, 6, 1));
                (void)list->grab();
            };
            op.baseline = [bareModel, bareList, readBare] {
                bareModel->setCells(readBare());
                (void)bareList->grab();
            };
            return op;
        };
        const int page = ReceiptsListModel::kPageSize;
        results.push_back(RunOperation(receiptsOperation(form->context(), [&] {
            Stmt records(raw.get(), "SELECT sale_id, till, receipt_no, recorded_at, kind, customer_name, total_cents "
                                    "FROM sale_records WHERE recorded_at >= ? AND recorded_at < ? "
                                    "ORDER BY recorded_at DESC, id DESC LIMIT ?;");
            sqlite3_bind_text(records.s, 1, "2025-06-01", -1, SQLITE_STATIC);
            sqlite3_bind_text(records.s, 2, "2025-07-01", -1, SQLITE_STATIC);
            sqlite3_bind_int(records.s, 3, page);
            std::vector<QString> cells;
            std::vector<QByteArray> saleIds;
            while (sqlite3_step(records.s) == SQLITE_ROW) {
                saleIds.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(records.s, 0)));
                cells.insert(cells.end(),
                             {columnText(records.s, 3), columnText(records.s, 1),
                              sqlite3_column_type(records.s, 2) == SQLITE_NULL ? QStringLiteral("-")
                                                                               : columnText(records.s, 2),
                              columnText(records.s, 5), QString(), money(sqlite3_column_int64(records.s, 6) / 100.0),
                              columnText(records.s, 4) == QLatin1String("sale") ? QStringLiteral("Sale")
                                                                                : QStringLiteral("Settlement")});
            }
            QByteArray sql = "SELECT sale_id, tender_type, amount_cents FROM tenders WHERE sale_id IN (";
            for (size_t i = 0; i < saleIds.size(); ++i)
                sql += i ? ",?" : "?";
            Stmt tenders(raw.get(), (sql + ") ORDER BY sale_id, position;").constData());
            for (size_t i = 0; i < saleIds.size(); ++i)
                sqlite3_bind_text(tenders.s, int(i) + 1, saleIds[i].constData(), -1, SQLITE_STATIC);
            QHash<QByteArray, QString> paid;
            while (sqlite3_step(tenders.s) == SQLITE_ROW) {
                QString& text = paid[QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(tenders.s, 0)))];
                if (!text.isEmpty())
                    text += QStringLiteral(" + ");
                text += columnText(tenders.s, 1) + QLatin1Char(' ') + money(sqlite3_column_int64(tenders.s, 2) / 100.0);
            }
            for (size_t i = 0; i < saleIds.size(); ++i)
                cells[i * 7 + 4] = paid.value(saleIds[i]);
            return cells;
        })));
        measureOnServer([&] {
            return receiptsOperation(serverForm->context(), [&] {
                return serverRaw->receipts(QStringLiteral("2025-06-01"), QStringLiteral("2025-07-01"), page);
            });
        });
    }

    // The server is not part of the operations that follow.
    serverForm.reset();
    serverRaw.reset();
    serverData.reset();

    // B4c: the takings chart of the year from the loaded list, against the year's load itself.
    if (wanted("B4") || wanted("B4c")) {
        SalesHistoryScreen& history = *form->salesHistoryScreen();
        setHistoryRange(history, QDate(2025, 1, 1), QDate(2025, 12, 31));
        history.BitBtn18Click();
        BenchOperation op{QStringLiteral("B4c"), QStringLiteral("takings chart of one year, drawn"), 1.0, 5,
                          {}, {}, {}};
        op.program = [&] {
            const PaymentsListModel& payments = *history.paymentsModel();
            TakingsChartWindow window(dialogs, BuildTakingsSeries(payments.filter(), payments),
                                      {QStringLiteral("dd.MM.yyyy"), QStringLiteral("$")}, form.get());
            window.show();
            QCoreApplication::processEvents();
            (void)window.findChild<ChartPanel*>(QStringLiteral("TakingsChart"))->picture();
        };
        op.baseline = [&] { history.BitBtn18Click(); };
        results.push_back(RunOperation(op));
        history.paymentsModel()->clear();
    }

    // B5: top selling products over the two years, both rankings.
    if (wanted("B5")) {
        TFormTopSelling report(form->context());
        const TopSellingControls controls(report);
        controls.begin->setDate(QDate(2024, 1, 1));
        controls.end->setDate(QDate(2026, 1, 1));
        QCoreApplication::processEvents();
        BenchOperation op{QStringLiteral("B5"), QStringLiteral("top selling, both rankings, two years"), 1.2, 3,
                          {}, {}, {}};
        auto waitForTimers = [&controls] { waitUntil([&controls] { return controls.idle(); }); };
        op.program = [&] {
            controls.byPrice->click();
            waitForTimers();
            controls.byUnit->click();
            waitForTimers();
        };
        op.baseline = [&] {
            for (const char* order : {"toplamfiyat", "toplamadet"}) {
                const QByteArray sql = QByteArray("SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS "
                                                  "toplamfiyat FROM odemeler where odemetarihi between ? and ? "
                                                  "group by barkod order by ") + order + " DESC;";
                Stmt q(raw.get(), sql.constData());
                sqlite3_bind_text(q.s, 1, "2024-01-01", -1, SQLITE_STATIC);
                sqlite3_bind_text(q.s, 2, "2026-01-01", -1, SQLITE_STATIC);
                std::vector<QString> cells;
                while (sqlite3_step(q.s) == SQLITE_ROW) {
                    cells.push_back(columnText(q.s, 0));
                    cells.push_back(columnText(q.s, 1));
                    cells.push_back(columnText(q.s, 2));
                    cells.push_back(money(sqlite3_column_double(q.s, 3)));
                }
            }
        };
        results.push_back(RunOperation(op));
    }

    // B7: one search keystroke in the product picker.
    if (wanted("B7")) {
        TUrunlerForm picker(form->context(),
                            [&](const QString& barcode) { return form->saleScreen()->pickProduct(barcode); });
        auto* search = picker.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        BenchOperation op{QStringLiteral("B7"), QStringLiteral("picker search keystroke \"mil\""), 2.0, 9, {}, {}, {}};
        op.setUp = [&] { search->setText(QStringLiteral("mi")); };
        op.program = [&] { search->setText(QStringLiteral("mil")); };
        op.baseline = [&] {
            Stmt q(raw.get(), "SELECT barkod, urunadi, fiyat FROM urunler where (urunadi like ?1) or (barkod like ?1);");
            sqlite3_bind_text(q.s, 1, "%mil%", -1, SQLITE_STATIC);
            std::vector<std::pair<QString, QString>> items;
            while (sqlite3_step(q.s) == SQLITE_ROW)
                items.emplace_back(columnText(q.s, 0), columnText(q.s, 1));
        };
        results.push_back(RunOperation(op));
    }

    // B6: export of the payments table.
    if (wanted("B6")) {
        const QString out = dir.path() + QStringLiteral("/payments.csv");
        BenchOperation op{QStringLiteral("B6"), QStringLiteral("export of the payments table"), 1.5, 3, {}, {}, {}};
        op.program = [&] { ExportPaymentsCsv(form->context().SQLConnection1(), QLatin1Char(';'), out); };
        op.baseline = [&] {
            Stmt all(raw.get(), "SELECT * FROM odemeler order by id;");
            QByteArray bytes = "ID;Barcode;Product;Price;Unit;Datetime;Date;Time\r\n";
            while (sqlite3_step(all.s) == SQLITE_ROW) {
                const QByteArray when(reinterpret_cast<const char*>(sqlite3_column_text(all.s, 6)));
                char price[64];
                std::snprintf(price, sizeof price, "%.2f", sqlite3_column_double(all.s, 5));
                bytes += QByteArray::number(sqlite3_column_int64(all.s, 0)) + ';'
                         + reinterpret_cast<const char*>(sqlite3_column_text(all.s, 2)) + ';'
                         + reinterpret_cast<const char*>(sqlite3_column_text(all.s, 3)) + ';' + price + ';'
                         + QByteArray::number(sqlite3_column_int64(all.s, 4)) + ';' + when + ';' + when.left(10)
                         + ';' + when.mid(11) + "\r\n";
            }
            QSaveFile file(out);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            file.commit();
        };
        results.push_back(RunOperation(op));
    }

    // B8: start-up of a whole process until the main window is shown and the database open and migrated,
    // against a process that shows a bare window and opens the same file.
    if (wanted("B8")) {
        form.reset();
        const QString self = QCoreApplication::applicationFilePath();
        auto runChild = [&](const QStringList& arguments) {
            QProcess child;
            child.start(self, arguments);
            child.waitForFinished(120000);
        };
        BenchOperation op{QStringLiteral("B8"), QStringLiteral("start-up, window shown, database open"), 1.5, 7,
                          {}, {}, {}};
        op.program = [&] { runChild({QStringLiteral("--startup-program"), program}); };
        op.baseline = [&] { runChild({QStringLiteral("--startup-baseline"), dataFile}); };
        results.push_back(RunOperation(op));
    }

    // B10 and B11: the X report of a long session and the day summary of twenty tills (see CashupBench.h).
    for (BenchResult& result : RunCashupBenchmarks(program, serverUrl, wanted("B10"), wanted("B11")))
        results.push_back(std::move(result));

    PrintTable(results);
    if (wanted("L1"))
        runLoad();

    // Peak memory of the whole program for each operation, each in a process of its own.
    (void)importPeak;
    (void)historyPeak;
    std::printf("\nPeak memory of the whole program, each operation in a process of its own (VmHWM):\n");
    const QString self = QCoreApplication::applicationFilePath();
    struct Peak { const char* id; const char* name; bool run; double targetMiB; };
    const Peak peaks[] = {{"B3", "import of 100,000 products", wanted("B3"), 0},
                          {"B4m", "history payments, one month", wanted("B4"), 0},
                          {"B4y", "history payments, one year", wanted("B4"), 150},
                          {"B4yy", "history payments, two years", wanted("B4"), 250},
                          {"B5", "top selling, two years", wanted("B5"), 0},
                          {"B6", "export of the payments table", wanted("B6"), 0}};
    for (const Peak& peak : peaks) {
        if (!peak.run)
            continue;
        QProcess child;
        child.start(self, {QStringLiteral("--peak"), QString::fromLatin1(peak.id), program,
                           dir.path() + QStringLiteral("/import")});
        child.waitForFinished(600000);
        const double mib = child.readAllStandardOutput().trimmed().toDouble();
        if (peak.targetMiB > 0)
            std::printf("%-5s %-36s %8.1f MiB  (target %.0f MiB: %s)\n", peak.id, peak.name, mib, peak.targetMiB,
                        mib <= peak.targetMiB ? "met" : "MISSED");
        else
            std::printf("%-5s %-36s %8.1f MiB\n", peak.id, peak.name, mib);
    }
    return 0;
}

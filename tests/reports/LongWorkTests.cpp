#include "support/AppFixture.h"
#include "support/FindControl.h"

#include "core/LongTaskProgress.h"
#include "app/ui/LongTaskRunner.h"
#include "reports/LazyNameListModel.h"
#include "reports/ProductImport.h"
#include "reports/SalesHistory.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "reports/TableExport.h"
#include "store/sqlite/DataFileBackup.h"
#include "store/Database.h"
#include "store/DatabaseEngine.h"
#include "support/QueryRows.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>

// Long work on a worker thread: the window's thread goes on, Cancel leaves nothing half-done, the progress
// dialog shows only for work that lasts.

namespace {

// Asks the work to stop once it has done the given number of steps.
class CancelAfter : public LongTaskProgress
{
public:
    explicit CancelAfter(qint64 steps) : m_steps(steps) {}
    void advance() override
    {
        LongTaskProgress::advance();
        if (done() >= m_steps)
            cancel();
    }

private:
    qint64 m_steps;
};

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class LongWorkTest : public AppFixture
{
protected:
    void TearDown() override
    {
        LongTaskRunner::setDialogDelay(500);
        AppFixture::TearDown();
    }

    Database& db() { return (form ? form->context() : *context).SQLConnection1(); }

    void exec(const QString& sql, const std::vector<QVariant>& params = {})
    {
        ASSERT_TRUE(db().ExecuteDirect(sql, params));
    }

    QStringList catalogue()
    {
        return QueryRows(db(), QStringLiteral("select barkod, urunadi, fiyat, stok from urunler order by id"));
    }

    static QStringList importLines(int count)
    {
        QStringList lines{QStringLiteral("Barcode;Product;Price;Stock")};
        for (int i = 0; i < count; ++i)
            lines << QStringLiteral("B%1;Product %1;1.5;3").arg(i);
        return lines;
    }

    void writeImportFile(const QString& path, int count)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(importLines(count).join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }

    // Many payments on one day, in one transaction.
    void addPayments(int count)
    {
        ASSERT_TRUE(db().BeginTransaction());
        for (int i = 0; i < count; ++i)
            exec(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) "
                                "values (?,?,?,?,?,?)"),
                 {i / 3, QStringLiteral("B%1").arg(i % 500), QStringLiteral("Product %1").arg(i % 500), 2, 1.25,
                  QStringLiteral("2025-01-31 10:%1:%2").arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                      .arg(i % 60, 2, 10, QLatin1Char('0'))});
        ASSERT_TRUE(db().Commit());
    }
};

TEST_F(LongWorkTest, TheWindowsThreadGoesOnWhileTheWorkRuns)
{
    start();
    // The job waits for a timer of the window's thread: were that thread blocked, the job would give up.
    std::atomic<bool> timerFired{false};
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timerFired = true; });
    timer.start(0);
    bool sawTimer = false;
    EXPECT_TRUE(LongTaskRunner::run(form.get(), QStringLiteral("Work"), [&](LongTaskProgress&) {
        for (int i = 0; i < 1000 && !timerFired; ++i)
            QThread::msleep(10);
        sawTimer = timerFired;
    }));
    EXPECT_TRUE(sawTimer);

    // An exception of the job comes back on the window's thread.
    EXPECT_THROW(LongTaskRunner::run(form.get(), QStringLiteral("Work"),
                                     [](LongTaskProgress&) { throw std::runtime_error("failed"); }),
                 std::runtime_error);
}

TEST_F(LongWorkTest, CancelInTheProgressDialogStopsTheWork)
{
    start();
    LongTaskRunner::setDialogDelay(0);
    // Clicked as a user does, through the windows: a click on the main window is held back while the work runs,
    // one on the dialog's Cancel reaches it.
    QPushButton* sales = FindControl<QPushButton>(*form, "BitBtn17");
    const auto clickThroughWindow = [](QPushButton* button) {
        QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, {},
                          button->mapTo(button->window(), button->rect().center()));
    };
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        clickThroughWindow(sales);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
                if (auto* cancel = dialog->findChild<QPushButton*>(); cancel && dialog->windowHandle())
                    clickThroughWindow(cancel);
    });
    clicker.start(10);
    qint64 stepsAfterCancel = -1;
    const bool finished = LongTaskRunner::run(form.get(), QStringLiteral("Work"), [&](LongTaskProgress& progress) {
        progress.setTotal(100);
        for (int i = 0; i < 1000 && !progress.cancelled(); ++i)
            QThread::msleep(10);
        stepsAfterCancel = progress.cancelled() ? 0 : 1;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(stepsAfterCancel, 0);
    EXPECT_TRUE(LongTaskRunner::lastRunShowedDialog());
    EXPECT_FALSE(form->salesHistoryScreen()->isVisible());
    clicker.stop();
    clickThroughWindow(sales); // once the work is done the same click gets through
    EXPECT_TRUE(form->salesHistoryScreen()->isVisible());
}

TEST_F(LongWorkTest, ACancelledImportLeavesTheProductsAsTheyWere)
{
    start();
    exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values "
                        "('8690', 'Milk', 2.5, 10, '2024-05-01 14:03:27')"));
    const QStringList before = catalogue();

    for (const qint64 cancelAt : {qint64(1), qint64(500), qint64(1001)}) {
        CancelAfter progress(cancelAt); // 1001: after the last line, before the commit
        const ProductImportResult result = InsertImportedProducts(db(), importLines(1000), QLatin1Char(';'), {}, &progress);
        EXPECT_TRUE(result.cancelled) << cancelAt;
        EXPECT_EQ(result.imported, 0) << cancelAt;
        EXPECT_EQ(catalogue(), before) << cancelAt;
    }
    // Not cancelled, the same lines are all there.
    LongTaskProgress progress;
    const ProductImportResult result = InsertImportedProducts(db(), importLines(1000), QLatin1Char(';'), {}, &progress);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(catalogue().size(), before.size() + 1000);
    EXPECT_EQ(progress.done(), 1001);
}

TEST_F(LongWorkTest, ACancelledExportLeavesNoFileAndAnOlderOneUntouched)
{
    start();
    addPayments(3000);
    const QString fresh = dataFile(QStringLiteral("fresh.csv"));
    const QString older = dataFile(QStringLiteral("older.csv"));
    {
        QFile file(older);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the export of last week\r\n");
    }
    // Cancelled at the first row and midway, with no file of that name yet and over an older one.
    for (const qint64 cancelAt : {qint64(1), qint64(2500)}) {
        for (const QString& path : {fresh, older}) {
            const QByteArray before = bytesOf(path);
            CancelAfter progress(cancelAt);
            const CsvExportResult result = ExportPaymentsCsv(db(), QLatin1Char(';'), path, &progress);
            EXPECT_EQ(result.status, CsvExportResult::Status::Cancelled) << cancelAt;
            EXPECT_EQ(bytesOf(path), before) << cancelAt << path.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(programFolder()).entryList({QStringLiteral("*.csv*")}, QDir::Files),
              QStringList{QStringLiteral("older.csv")}); // no temporary file left behind
}

TEST_F(LongWorkTest, TheProgressDialogShowsForALongImportAndNotForATenLineOne)
{
    start();
    const QString big = dataFile(QStringLiteral("big.csv"));
    const QString small = dataFile(QStringLiteral("small.csv"));
    writeImportFile(big, 100000);
    writeImportFile(small, 10);

    LongTaskRunner::setDialogDelay(500);
    dialogs.fileAnswers.push_back(small);
    form->action(QStringLiteral("ImportProducts1"))->trigger();
    EXPECT_FALSE(LongTaskRunner::lastRunShowedDialog());
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Imported: 10 entries"));

    // The delay is shortened so the test need not wait; the import of 100,000 lines outlasts it.
    LongTaskRunner::setDialogDelay(5);
    dialogs.fileAnswers.push_back(big);
    form->action(QStringLiteral("ImportProducts1"))->trigger();
    EXPECT_TRUE(LongTaskRunner::lastRunShowedDialog());
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Imported: 100000 entries"));
    EXPECT_EQ(catalogue().size(), 100010);
}

TEST_F(LongWorkTest, ATimerOfTheWindowFiresWhileTheHistoryLoads)
{
    SalesHistoryScreen screen(startContext());
    addPayments(60000);
    screen.show();
    FindControl<QDateEdit>(screen, "DateTimePicker1")->setDate(QDate(2025, 1, 31));
    FindControl<QDateEdit>(screen, "DateTimePicker2")->setDate(QDate(2025, 2, 1));

    int fired = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    timer.start(0);
    screen.BitBtn18Click();
    timer.stop();

    EXPECT_GT(fired, 0);
    EXPECT_EQ(screen.paymentsModel()->rowCount(), 60000);
    EXPECT_DOUBLE_EQ(screen.paymentsModel()->grandTotal(), 60000 * 2.5);
}

TEST_F(LongWorkTest, ACancelledRestoreLeavesTheOldData)
{
    start();
    addPayments(100000); // several megabytes, so the copies go in more than one step
    const QString backup = dataFile(QStringLiteral("backup.db"));
    const auto writeBackup = [this](const QString& target, QString* error, const BackupProgress& progress) {
        return EngineFor(db().path()).writeBackup(db().path(), target, error, progress);
    };
    ASSERT_TRUE(writeBackup(backup, nullptr, {}));
    exec(QStringLiteral("delete from odemeler where id > 10"));
    const QString dataDb = db().path();
    db().close();
    const QByteArray before = bytesOf(dataDb);

    const RestoreResult result = CopyBackupOverDataFile(backup, dataDb, [](qint64, qint64) { return false; });
    EXPECT_EQ(result.outcome, RestoreResult::Cancelled);
    EXPECT_EQ(bytesOf(dataDb), before);

    // A backup stopped at its first step leaves no file either, nor an older one changed.
    ASSERT_TRUE(ReopenDataFile(db(), dataDb));
    QString error;
    const QString stopped = dataFile(QStringLiteral("stopped.db"));
    EXPECT_FALSE(writeBackup(stopped, &error, [](qint64, qint64) { return false; }));
    EXPECT_FALSE(QFile::exists(stopped));
    const QByteArray olderBackup = bytesOf(backup);
    EXPECT_FALSE(writeBackup(backup, &error, [](qint64, qint64) { return false; }));
    EXPECT_EQ(bytesOf(backup), olderBackup);
    EXPECT_EQ(QDir(programFolder()).entryList({QStringLiteral("*.db.*")}, QDir::Files), QStringList());
}

TEST(LazyNameListTest, NamesAreReadWhenFirstNeededAndFollowTheTable)
{
    QStringList table{QStringLiteral("Milk"), QStringLiteral("Tea")};
    int reads = 0;
    QComboBox box;
    auto* model = new LazyNameListModel(
        QStringLiteral("All Products"), [&] { return qint64(table.size()); },
        [&] {
            ++reads;
            return table;
        },
        &box);
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    box.setModel(model);
    box.setCurrentIndex(0);
    EXPECT_EQ(box.currentText(), QStringLiteral("All Products"));
    EXPECT_EQ(box.count(), 3);
    EXPECT_FALSE(model->namesRead());

    // A product added after the count: the search reads the names once, and the rows follow them.
    table << QStringLiteral("Zest");
    EXPECT_EQ(box.findText(QStringLiteral("Tea")), 2);
    EXPECT_EQ(reads, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.count(), 4);
    EXPECT_EQ(box.itemText(3), QStringLiteral("Zest"));
    EXPECT_EQ(box.findText(QStringLiteral("Milk")), 1);
    EXPECT_EQ(reads, 1);
}

} // namespace

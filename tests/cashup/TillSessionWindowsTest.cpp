#include "cashup/DaySummaryText.h"
#include "cashup/SessionFigures.h"
#include "cashup/TillSessions.h"
#include "cashup/ZReportText.h"
#include "cashup/ZReports.h"
#include "cashup/ui/TillSessionCommands.h"
#include "cashup/ui/ZReportsWindow.h"
#include "reports/TextTableModel.h"
#include "support/ContextFixture.h"
#include "support/FindControl.h"
#include "support/LoopbackPrinter.h"
#include "support/QueryRows.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <functional>

// The till's session windows as a cashier meets them, each built on a context, on both engines: the float, cash in
// and out, the X report, the blind count and the Z it stores, prints and shows, the drawer opened without a sale,
// and the list of Z reports with its reprint, export and day summary.

namespace {

class TillSessionWindowsTest : public ContextFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        ContextFixture::SetUp();
        if (!HasFatalFailure() && GetParam() == Engine::Postgres)
            useNewDatabase(Engine::Postgres);
    }

    Database& db() { return context->SQLConnection1(); }
    QString till() { return db().tillName(); }

    // The next modal window is driven by the script; its result is what the window's buttons made of it.
    void onWindow(std::function<void(QDialog&)> drive)
    {
        dialogs.modalScripts.push_back([drive = std::move(drive)](QDialog& window) {
            drive(window);
            return window.result();
        });
    }

    // The text of a report window, when the next modal window is one.
    void readReport(QString& text, const QString& printTo = QString())
    {
        onWindow([this, &text, printTo](QDialog& window) {
            EXPECT_EQ(window.objectName(), "ReportTextWindow");
            text = FindControl<QPlainTextEdit>(window, "ReportText")->toPlainText();
            if (!printTo.isEmpty()) {
                dialogs.printAnswers.push_back(printTo);
                FindControl<QPushButton>(window, "PrintButton")->click();
            }
        });
    }

    static void enter(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    // Every text a window shows to the cashier.
    static QStringList shownTexts(const QDialog& window)
    {
        QStringList texts{window.windowTitle()};
        for (const QLabel* label : window.findChildren<QLabel*>())
            texts << label->text();
        for (const QLineEdit* edit : window.findChildren<QLineEdit*>())
            texts << edit->text();
        for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
            texts << button->text();
        return texts;
    }

    static void expectNamedAndReachable(const QDialog& window, std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            SCOPED_TRACE(name);
            auto* control = FindControl<QWidget>(window, name);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
            EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
        }
    }

    QString lastMessage() const { return dialogs.lastMessage() ? dialogs.lastMessage()->text : QString(); }
};

TEST_P(TillSessionWindowsTest, OpensWithAFloatTakesCashOutAndShowsTheXReportWithoutChangingIt)
{
    startContext();

    // The float: an amount that is not one in whole cents is refused, and the window stays open for another.
    onWindow([this](QDialog& window) {
        EXPECT_EQ(window.objectName(), "TillCashWindow");
        EXPECT_EQ(window.windowTitle(), "Open Till");
        EXPECT_EQ(window.findChild<QLineEdit*>("ReasonEdit"), nullptr);
        expectNamedAndReachable(window, {"AmountEdit", "OkButton", "CancelButton"});
        auto* amount = FindControl<QLineEdit>(window, "AmountEdit");
        enter(amount, "1,5");
        FindControl<QPushButton>(window, "OkButton")->click();
        EXPECT_EQ(lastMessage(), "Enter the amount counted, as 100 or 100.00.");
        EXPECT_FALSE(window.result() == QDialog::Accepted);
        enter(amount, "100");
        FindControl<QPushButton>(window, "OkButton")->click();
    });
    OpenTillCommand(*context);
    EXPECT_EQ(lastMessage(), "The till is open with a float of $ 100.00.");
    const std::optional<QString> session = OpenSessionOf(db(), till());
    ASSERT_TRUE(session);

    // A second open is refused before the window.
    OpenTillCommand(*context);
    EXPECT_EQ(lastMessage(), "The till is open already.");
    EXPECT_EQ(dialogs.modalWindows.size(), 1);

    // Cash out: zero is no amount to take out; the reason goes with the amount. A cancelled cash in stores nothing.
    onWindow([this](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Cash Out");
        expectNamedAndReachable(window, {"AmountEdit", "ReasonEdit", "OkButton", "CancelButton"});
        auto* amount = FindControl<QLineEdit>(window, "AmountEdit");
        enter(amount, "0");
        FindControl<QPushButton>(window, "OkButton")->click();
        EXPECT_EQ(lastMessage(), "Enter an amount above zero, as 20 or 20.00.");
        enter(amount, "20.5");
        enter(FindControl<QLineEdit>(window, "ReasonEdit"), "Bank deposit");
        FindControl<QPushButton>(window, "OkButton")->click();
    });
    CashMovementCommand(*context, CashMovementKind::Out);
    onWindow([](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Cash In");
        enter(FindControl<QLineEdit>(window, "AmountEdit"), "5");
        FindControl<QPushButton>(window, "CancelButton")->click();
    });
    CashMovementCommand(*context, CashMovementKind::In);
    EXPECT_EQ(QueryRows(db(), QStringLiteral("SELECT kind, amount_cents, reason FROM cash_movements")),
              QStringList{"out|2050|Bank deposit"});

    // The X report shows the session's figures as they print, and prints them; it changes nothing.
    const std::optional<SessionFigures> figures = ReadSessionFigures(db(), *session);
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->expectedCashCents, 7950);
    QString shown;
    const QString pdf = dataFile(QStringLiteral("x.pdf"));
    readReport(shown, pdf);
    XReportCommand(*context);
    EXPECT_EQ(shown, XReportText(*figures, QStringLiteral("$")).join('\n'));
    EXPECT_TRUE(shown.contains("$ 79.50")) << shown.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_EQ(OpenSessionOf(db(), till()), session);
    EXPECT_EQ(ReadSessionFigures(db(), *session), figures);
}

TEST_P(TillSessionWindowsTest, ClosesWithABlindCountThenStoresPrintsAndShowsTheZ)
{
    startContext();
    ASSERT_TRUE(OpenTill(db(), 5000, nullptr));
    ASSERT_TRUE(RecordCashMovement(db(), CashMovementKind::In, 1000, QStringLiteral("Change")));

    // A cancelled count closes nothing.
    onWindow([](QDialog& window) { FindControl<QPushButton>(window, "CancelButton")->click(); });
    CloseTillCommand(*context, false);
    ASSERT_TRUE(OpenSessionOf(db(), till()));

    // The count by total: the expected 60.00 is shown nowhere; "No" to the question leaves the window open.
    onWindow([this](QDialog& window) {
        EXPECT_EQ(window.objectName(), "CloseTillWindow");
        EXPECT_EQ(window.windowTitle(), "Close Till");
        expectNamedAndReachable(window, {"CountByTotal", "TotalEdit", "CountByPieces", "OkButton", "CancelButton"});
        EXPECT_FALSE(shownTexts(window).join(' ').contains("60.00")) << shownTexts(window).join(' ').toStdString();
        auto* total = FindControl<QLineEdit>(window, "TotalEdit");
        ASSERT_TRUE(total->isEnabled());
        EXPECT_FALSE(FindControl<QSpinBox>(window, "NoteCount5000")->isEnabled());
        enter(total, "fifty");
        FindControl<QPushButton>(window, "OkButton")->click();
        EXPECT_EQ(lastMessage(), "Enter the amount counted, as 100 or 100.00.");
        enter(total, "61");
        dialogs.messageAnswers.push_back(Dialogs::No);
        FindControl<QPushButton>(window, "OkButton")->click();
        EXPECT_FALSE(window.result() == QDialog::Accepted);
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        FindControl<QPushButton>(window, "OkButton")->click();
        EXPECT_EQ(lastMessage(), "Close the till with $ 61.00 counted? The Z report is kept as it is and cannot be "
                                 "changed.");
    });
    const QString firstPdf = dataFile(QStringLiteral("z1.pdf"));
    dialogs.printAnswers.push_back(firstPdf);
    QString shown;
    readReport(shown);
    CloseTillCommand(*context, false);
    std::vector<ZReport> reports = ZReportsOf(db(), QString(), QString(), till()).value();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].zNumber, 1);
    EXPECT_EQ(reports[0].figures.expectedCashCents, 6000);
    EXPECT_EQ(reports[0].countedCents, 6100);
    EXPECT_EQ(reports[0].differenceCents, 100);
    EXPECT_GT(QFileInfo(firstPdf).size(), 0); // printed through the print dialog, as receipts are
    EXPECT_EQ(shown, ZReportText(reports[0], QStringLiteral("$")).join('\n'));
    EXPECT_FALSE(OpenSessionOf(db(), till()));

    // Nothing to close now.
    const qsizetype windows = dialogs.modalWindows.size();
    CloseTillCommand(*context, false);
    EXPECT_EQ(lastMessage(), "The till has no open session.");
    EXPECT_EQ(dialogs.modalWindows.size(), windows);

    // The next session, counted by notes and coins of the dollar: 1.00 short of the expected 60.00.
    ASSERT_TRUE(OpenTill(db(), 5000, nullptr));
    ASSERT_TRUE(RecordCashMovement(db(), CashMovementKind::In, 1000, QStringLiteral("Change")));
    onWindow([this](QDialog& window) {
        FindControl<QRadioButton>(window, "CountByPieces")->click();
        EXPECT_FALSE(FindControl<QLineEdit>(window, "TotalEdit")->isEnabled());
        const std::pair<const char*, int> pieces[] = {
            {"NoteCount5000", 1}, {"NoteCount500", 1}, {"NoteCount200", 1}, {"CoinCount100", 1}, {"CoinCount25", 4}};
        for (const auto& [name, count] : pieces)
            FindControl<QSpinBox>(window, name)->setValue(count);
        EXPECT_EQ(FindControl<QLabel>(window, "CountedValue")->text(), "$ 59.00");
        expectNamedAndReachable(window, {"NoteCount10000", "CoinCount1"});
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        FindControl<QPushButton>(window, "OkButton")->click();
    });
    dialogs.printAnswers.push_back(QString()); // the print dialog cancelled: the Z is kept and shown all the same
    readReport(shown);
    CloseTillCommand(*context, false);
    reports = ZReportsOf(db(), QString(), QString(), till()).value();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].zNumber, 2);
    EXPECT_EQ(reports[1].countedCents, 5900);
    EXPECT_EQ(reports[1].differenceCents, -100);
    EXPECT_EQ(shown, ZReportText(reports[1], QStringLiteral("$")).join('\n'));
    EXPECT_TRUE(shown.contains("$ -1.00")) << shown.toStdString();
}

TEST_P(TillSessionWindowsTest, ClosingIsRefusedWhileASaleIsOnTheScreen)
{
    startContext();
    ASSERT_TRUE(OpenTill(db(), 0, nullptr));
    CloseTillCommand(*context, true);
    EXPECT_EQ(lastMessage(), "A sale is on the screen. Complete or clear it before closing the till.");
    EXPECT_TRUE(dialogs.modalWindows.isEmpty());
    EXPECT_TRUE(OpenSessionOf(db(), till()));
}

TEST_P(TillSessionWindowsTest, TheDrawerOpenedWithoutASaleIsRecordedAndCashInOpensIt)
{
    LoopbackPrinter printer;
    writeSettings({QStringLiteral("ReceiptPrinter=escpos-tcp"), QStringLiteral("ReceiptPrinterAddress=")
                                                                     + printer.address(),
                   QStringLiteral("CashDrawer=1")});
    startContext();
    context->SetAdminMode(true); // as the main window starts without an administrator password
    OpenCashDrawerCommand(*context);
    onWindow([](QDialog& window) {
        enter(FindControl<QLineEdit>(window, "AmountEdit"), "12.34");
        enter(FindControl<QLineEdit>(window, "ReasonEdit"), "Change from the bank");
        FindControl<QPushButton>(window, "OkButton")->click();
    });
    CashMovementCommand(*context, CashMovementKind::In);
    EXPECT_EQ(printer.received().size(), 2);

    const std::optional<QString> session = OpenSessionOf(db(), till());
    ASSERT_TRUE(session);
    const std::optional<SessionFigures> figures = ReadSessionFigures(db(), *session);
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->drawerOpenings, 1);
    EXPECT_EQ(figures->cashInCents, 1234);
    EXPECT_EQ(figures->expectedCashCents, 1234);
}

TEST_P(TillSessionWindowsTest, ListsTheZReportsShowsReprintsAndExportsThem)
{
    startContext();
    for (const qint64 counted : {2500, 900}) {
        ASSERT_TRUE(OpenTill(db(), 1000, nullptr));
        ASSERT_TRUE(RecordCashMovement(db(), CashMovementKind::In, 1500, QStringLiteral("Change")));
        ASSERT_TRUE(CloseTill(db(), counted, nullptr));
    }
    const std::vector<ZReport> reports = ZReportsOf(db(), QString(), QString(), till()).value();
    ASSERT_EQ(reports.size(), 2u);

    ZReportsWindow window(*context);
    EXPECT_EQ(window.windowTitle(), "Z Reports");
    expectNamedAndReachable(window, {"BeginDate", "EndDate", "TillFilter", "ReportsList", "ShowButton",
                                     "ReprintButton", "ExportButton", "CloseButton"});
    auto* tills = FindControl<QComboBox>(window, "TillFilter");
    ASSERT_EQ(tills->count(), 2);
    EXPECT_EQ(tills->itemText(0), "All Tills");
    EXPECT_EQ(tills->itemData(1).toString(), till());
    ASSERT_EQ(window.model()->rowCount(), 2);
    EXPECT_EQ(window.model()->rowTexts(1),
              (QStringList{till(), "2", reports[1].figures.openedAt, reports[1].closedAt, "0.00", "25.00", "9.00",
                           "-16.00"}));
    auto* show = FindControl<QPushButton>(window, "ShowButton");
    auto* reprint = FindControl<QPushButton>(window, "ReprintButton");
    EXPECT_FALSE(show->isEnabled());
    EXPECT_FALSE(reprint->isEnabled());

    // The selected Z is shown and printed again as it was closed.
    auto* list = FindControl<QTableView>(window, "ReportsList");
    list->selectRow(1);
    ASSERT_NE(window.selectedReport(), nullptr);
    EXPECT_EQ(*window.selectedReport(), reports[1]);
    QString shown;
    readReport(shown);
    show->click();
    EXPECT_EQ(shown, ZReportText(reports[1], QStringLiteral("$")).join('\n'));
    const QString pdf = dataFile(QStringLiteral("reprint.pdf"));
    dialogs.printAnswers.push_back(pdf);
    reprint->click();
    EXPECT_GT(QFileInfo(pdf).size(), 0);

    // The listed Z reports to a CSV file.
    const QString csv = dataFile(QStringLiteral("z.csv"));
    dialogs.fileAnswers.push_back(csv);
    FindControl<QPushButton>(window, "ExportButton")->click();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Till;Z;Opened;Closed;Float;Sales count;Sales;Discounts;Refunds count;Refunds;Cash in;"
                        "Cash out;Credit settled;Cash settlements;Drawer openings;Cash taken;Change given;"
                        "Cash refunded;Expected cash;Counted cash;Difference;Session ID");
    EXPECT_EQ(lines[2], till() + ";2;" + reports[1].figures.openedAt + ";" + reports[1].closedAt
                            + ";10.00;0;0.00;0.00;0;0.00;15.00;0.00;0.00;0.00;0;0.00;0.00;0.00;25.00;9.00;-16.00;"
                            + reports[1].figures.sessionId);

    // Another day lists none.
    FindControl<QDateEdit>(window, "BeginDate")->setDate(QDate(2025, 1, 30));
    FindControl<QDateEdit>(window, "EndDate")->setDate(QDate(2025, 1, 30));
    EXPECT_EQ(window.model()->rowCount(), 0);
    EXPECT_FALSE(reprint->isEnabled());

    // The day across the tills is offered where tills share the database.
    auto* summary = window.findChild<QPushButton*>(QStringLiteral("SummaryButton"));
    ASSERT_EQ(summary != nullptr, db().recordsTill());
    if (!summary)
        return;
    expectNamedAndReachable(window, {"SummaryDate", "SummaryButton"});
    const std::optional<DaySummary> day = ReadDaySummary(db(), QStringLiteral("2025-01-31"));
    ASSERT_TRUE(day);
    readReport(shown);
    summary->click();
    EXPECT_EQ(shown, DaySummaryText(*day, QStringLiteral("$")).join('\n'));
    EXPECT_TRUE(shown.contains("$ 34.00")) << shown.toStdString(); // both counts added up
}

TEST_P(TillSessionWindowsTest, AFailedLookupOfTheZReportsListsNoneAndLeavesTheLastExport)
{
    startContext();
    ASSERT_TRUE(OpenTill(db(), 1000, nullptr));
    ASSERT_TRUE(CloseTill(db(), 1000, nullptr));
    ZReportsWindow window(*context);
    ASSERT_EQ(window.model()->rowCount(), 1);
    const QString csv = dataFile(QStringLiteral("z.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the last export");
    }

    ASSERT_TRUE(db().ExecuteDirect(QStringLiteral("ALTER TABLE z_reports RENAME TO z_reports_gone;")));
    dialogs.fileAnswers.push_back(csv);
    FindControl<QPushButton>(window, "ExportButton")->click();
    EXPECT_TRUE(lastMessage().startsWith("Exception raised with message:")) << lastMessage().toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("the last export"));

    FindControl<QDateEdit>(window, "BeginDate")->setDate(QDate(2025, 1, 30));
    EXPECT_EQ(window.model()->rowCount(), 0);
    EXPECT_FALSE(FindControl<QPushButton>(window, "ReprintButton")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Engines, TillSessionWindowsTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

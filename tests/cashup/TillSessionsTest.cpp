#include "cashup/SessionFigures.h"
#include "cashup/TillSessions.h"
#include "cashup/ZReportText.h"
#include "cashup/ZReports.h"
#include "cashup/ZReportsExport.h"
#include "catalogue/CreditSettlement.h"
#include "pos/Payment.h"
#include "pos/Refund.h"
#include "pos/RefundRecorder.h"
#include "pos/SaleRecorder.h"
#include "store/TenderTypesTable.h"
#include "store/TendersTable.h"
#include "store/ZReportsTable.h"
#include "support/EngineDatabaseTest.h"
#include "support/QueryRows.h"

#include "pos/SaleRecordStore.h"
#include "store/Transaction.h"

#include <QFile>
#include <QProcess>
#include <QThread>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <thread>

namespace {

const QDateTime kEvening(QDate(2025, 3, 1), QTime(18, 30, 0));

// An empty shop on either engine; the till "Front" works on it at a fixed time.
class TillSessionsTest : public EngineDatabaseTest
{
protected:
    void SetUp() override
    {
        EngineDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        prepareTill(db, QStringLiteral("Front"));
    }

    void prepareTill(Database& till, const QString& name)
    {
        till.setTillName(name);
        till.setClock([] { return kEvening; });
    }

    QStringList rows(const QString& sql) { return QueryRows(db, sql); }

    // Sells one line of the price (in cents) on the till.
    static void sell(Database& till, qint64 cents, const Payment& payment,
                     std::optional<MoneyAmount> priceBeforeDiscount = std::nullopt)
    {
        const std::vector<SaleLine> lines{
            {QStringLiteral("C1"), QStringLiteral("COFFEE"), 1, MoneyAmount::fromCents(cents), priceBeforeDiscount}};
        ASSERT_TRUE(RecordSale(till, lines, payment, payment.paid() ? std::optional<qint64>(1) : std::nullopt).committed);
    }

    // Sells one line of the price (paid as given, under the receipt number) and gives it all back by the tender type,
    // through the refund recorder.
    void sellAndRefund(qint64 cents, const Payment& payment, const QString& tenderType, qint64 receipt)
    {
        const std::vector<SaleLine> lines{{QStringLiteral("R1"), QStringLiteral("CUP"), 1, MoneyAmount::fromCents(cents)}};
        const RecordedSale sale = RecordSale(db, lines, payment, receipt);
        ASSERT_TRUE(sale.committed);
        const std::optional<RefundableSale> refundable = ReadRefundableSale(db, sale.saleId);
        ASSERT_TRUE(refundable && refundable->lines.size() == 1);
        RefundRequest request;
        request.originalSaleId = sale.saleId;
        request.lines = {{refundable->lines[0].lineId, 1, false}};
        request.tenderType = tenderType;
        request.reason = QStringLiteral("broken");
        const RecordedRefund refund = RecordRefund(db, request, receipt + 100);
        ASSERT_TRUE(refund.committed) << refund.refusal.toStdString();
    }
};

TEST_P(TillSessionsTest, ASessionOfEveryKindOfTakingsGivesTheExpectedCashToTheCentAndItsZKeepsTheSameFigures)
{
    QString refusal;
    ASSERT_TRUE(OpenTill(db, 10000, &refusal)) << refusal.toStdString();
    sell(db, 1250, Payment::cash(2000));                          // 20.00 handed, 7.50 change
    sell(db, 3000, Payment::card(), MoneyAmount::fromCents(3500)); // 5.00 discount
    sell(db, 1500, Payment::split({{kCashTender, 500, 1000, 500}, {kCardTender, 1000, std::nullopt, std::nullopt}}));
    sell(db, 800, Payment::onAccount({7, QStringLiteral("ANN")}));
    sellAndRefund(300, Payment::cash(), kCashTender, 50);
    sellAndRefund(1000, Payment::card(), kCardTender, 51);
    ASSERT_TRUE(RecordCashMovement(db, CashMovementKind::In, 5000, QStringLiteral("change from the bank")));
    ASSERT_TRUE(RecordCashMovement(db, CashMovementKind::Out, 2000, QStringLiteral("window cleaner")));
    const auto open = CreditLinesTable(db).openLinesOf(QStringLiteral("ANN"));
    ASSERT_TRUE(open && open->size() == 1);
    ASSERT_TRUE(SettleCreditLines(db, QStringLiteral("ANN"), *open, kCashTender).stored);
    ASSERT_TRUE(RecordCashMovement(db, CashMovementKind::Drawer, 0, QString()));
    // A movement of nothing, or of less than nothing, is no movement.
    EXPECT_FALSE(RecordCashMovement(db, CashMovementKind::Out, 0, QString()));
    EXPECT_FALSE(RecordCashMovement(db, CashMovementKind::In, -100, QString()));

    const std::optional<QString> session = OpenSessionOf(db, QStringLiteral("Front"));
    ASSERT_TRUE(session);
    SessionFigures expected;
    expected.sessionId = *session;
    expected.till = QStringLiteral("Front");
    expected.openedAt = QStringLiteral("2025-03-01 18:30:00");
    expected.sequence = 1;
    expected.floatCents = 10000;
    expected.salesCount = 6;
    expected.salesCents = 1250 + 3000 + 1500 + 800 + 300 + 1000;
    expected.discountCents = 500;
    expected.refundsCount = 2;
    expected.refundsCents = 1300;
    expected.tenders = {{kCashTender, 3, 2050, 1, 300}, {kCardTender, 3, 5000, 1, 1000}, {kAccountTender, 1, 800, 0, 0}};
    expected.cashInCents = 5000;
    expected.cashOutCents = 2000;
    expected.creditSettledCents = 800;
    expected.cashSettlementsCents = 800;
    expected.drawerOpenings = 1;
    expected.cashTakenCents = 2000 + 1000 + 300;
    expected.changeGivenCents = 750 + 500;
    expected.cashRefundedCents = 300;
    // 100.00 + 33.00 - 12.50 - 3.00 + 50.00 - 20.00 + 8.00
    expected.expectedCashCents = 15550;
    const std::optional<SessionFigures> x = ReadSessionFigures(db, *session);
    ASSERT_TRUE(x);
    EXPECT_EQ(*x, expected);

    // A blind count of 1.00 less.
    const std::optional<ZReport> z = CloseTill(db, 15450, &refusal);
    ASSERT_TRUE(z) << refusal.toStdString();
    EXPECT_EQ(z->zNumber, 1);
    EXPECT_EQ(z->closedAt, QStringLiteral("2025-03-01 18:30:00"));
    EXPECT_EQ(z->figures, *x);
    EXPECT_EQ(z->countedCents, 15450);
    EXPECT_EQ(z->differenceCents, -100);
    EXPECT_EQ(ReadSessionFigures(db, *session), *x);
    EXPECT_EQ(ZReportsOf(db, QStringLiteral("2025-03-01"), QStringLiteral("2025-03-01"), QStringLiteral("Front")),
              std::vector<ZReport>{*z});
    EXPECT_EQ(ZReportsOf(db, QStringLiteral("2025-03-02"), QStringLiteral("2025-03-02"), QString()),
              std::vector<ZReport>{});
    EXPECT_FALSE(OpenSessionOf(db, QStringLiteral("Front")));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();

    const QStringList text = ZReportText(*z, QStringLiteral("$"));
    for (const char* line : {"Z Report 1", "Expected cash: $ 155.50", "Counted cash: $ 154.50", "Difference: $ -1.00",
                             "Drawer openings without a sale: 1", "  Card: 1 / $ 10.00"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.join(u'\n').toStdString();
}

TEST_P(TillSessionsTest, ATillOpensClosesAndOpensItsSessionsInTurn)
{
    QString refusal;
    EXPECT_FALSE(CloseTill(db, 0, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The till has no open session."));
    // A sale from before there were sessions belongs to none.
    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("INSERT INTO sale_records (sale_id, till, recorded_at, kind, "
                                                "subtotal_cents, discount_cents, total_cents) "
                                                "VALUES ('old', 'Front', '2024-12-31 10:00:00', 'sale', 999, 0, 999);")));

    // The first sale opens a session with a float of 0.
    sell(db, 400, Payment::cash());
    const std::optional<QString> first = OpenSessionOf(db, QStringLiteral("Front"));
    ASSERT_TRUE(first);
    EXPECT_FALSE(OpenTill(db, 5000, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The till is open already."));
    EXPECT_EQ(OpenSessionOf(db, QStringLiteral("Front")), first);
    std::optional<ZReport> z = CloseTill(db, 400, &refusal);
    ASSERT_TRUE(z);
    EXPECT_EQ(z->figures.floatCents, 0);
    EXPECT_EQ(z->figures.salesCount, 1);
    EXPECT_EQ(z->figures.salesCents, 400);
    EXPECT_EQ(z->differenceCents, 0);

    // Opened with a float and closed without a sale: Z 2, counted against the float.
    EXPECT_FALSE(OpenTill(db, -1, &refusal));
    ASSERT_TRUE(OpenTill(db, 5000, &refusal));
    const std::optional<QString> second = OpenSessionOf(db, QStringLiteral("Front"));
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    z = CloseTill(db, 5000, &refusal);
    ASSERT_TRUE(z);
    EXPECT_EQ(z->zNumber, 2);
    EXPECT_EQ(z->figures.sequence, 2);
    EXPECT_EQ(z->figures.salesCount, 0);
    EXPECT_EQ(z->figures.expectedCashCents, 5000);
    EXPECT_EQ(z->differenceCents, 0);
    EXPECT_FALSE(CloseTill(db, 0, &refusal));

    EXPECT_EQ(rows(QStringLiteral("SELECT z_number, sales_count, sales_cents FROM z_reports ORDER BY z_number;")),
              (QStringList{"1|1|400", "2|0|0"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT sale_id FROM sale_records WHERE session_id IS NULL;")), QStringList{"old"});
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
}

TEST_P(TillSessionsTest, TwoTillsCloseTheirOwnSessionsAndTheDaySummaryIsTheirSum)
{
    Database back;
    QStringList backReported;
    back.setErrorReporter([&backReported](const QString& message) { backReported << message; });
    ASSERT_TRUE(back.open(db.path()));
    prepareTill(back, QStringLiteral("Back"));
    QString refusal;

    EXPECT_TRUE(ZReportsTable(db).tills().isEmpty());
    ASSERT_TRUE(OpenTill(db, 10000, &refusal));
    ASSERT_TRUE(OpenTill(back, 2000, &refusal));
    sell(db, 1000, Payment::cash());
    sell(back, 700, Payment::cash());
    sell(back, 300, Payment::card());
    ASSERT_TRUE(RecordCashMovement(back, CashMovementKind::Out, 500, QStringLiteral("stamps")));

    const std::optional<ZReport> front = CloseTill(db, 11000, &refusal);
    ASSERT_TRUE(front);
    // The other till's session is still open and none of its takings are in this one's Z.
    EXPECT_EQ(front->figures.salesCents, 1000);
    EXPECT_EQ(front->figures.expectedCashCents, 11000);
    std::optional<DaySummary> day = ReadDaySummary(db, QStringLiteral("2025-03-01"));
    ASSERT_TRUE(day);
    EXPECT_EQ(day->tills, std::vector<ZReport>{*front});
    EXPECT_EQ(day->stillOpen, QStringList{"Back"});

    const std::optional<ZReport> backZ = CloseTill(back, 2100, &refusal);
    ASSERT_TRUE(backZ);
    EXPECT_EQ(backZ->zNumber, 1);
    EXPECT_EQ(backZ->figures.expectedCashCents, 2000 + 700 - 500);
    day = ReadDaySummary(db, QStringLiteral("2025-03-01"));
    ASSERT_TRUE(day);
    EXPECT_EQ(day->tills, (std::vector<ZReport>{*backZ, *front}));
    EXPECT_TRUE(day->stillOpen.isEmpty());
    EXPECT_EQ(ZReportsTable(db).tills(), (QStringList{"Back", "Front"}));
    EXPECT_EQ(day->total.salesCount, 3);
    EXPECT_EQ(day->total.salesCents, 2000);
    EXPECT_EQ(day->total.floatCents, 12000);
    EXPECT_EQ(day->total.cashOutCents, 500);
    EXPECT_EQ(day->total.expectedCashCents, 11000 + 2200);
    EXPECT_EQ(day->countedCents, 11000 + 2100);
    EXPECT_EQ(day->differenceCents, -100);
    EXPECT_EQ(day->total.tenders, (std::vector<TenderFigures>{{kCashTender, 2, 1700, 0, 0}, {kCardTender, 1, 300, 0, 0}}));
    EXPECT_TRUE(ReadDaySummary(db, QStringLiteral("2025-03-02"))->tills.empty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(backReported.isEmpty()) << backReported.join(QLatin1Char('\n')).toStdString();
}

TEST_P(TillSessionsTest, AFailedLookupOfTheZReportsIsNoListAndExportsNoFile)
{
    ASSERT_TRUE(OpenTill(db, 1000, nullptr));
    ASSERT_TRUE(CloseTill(db, 1000, nullptr));
    const QString path = folder.filePath(QStringLiteral("z.csv"));
    const CsvExportResult written = ExportZReportsCsv(db, QString(), QString(), QString(), QLatin1Char(';'), path);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.rows, 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    ASSERT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("ALTER TABLE z_reports RENAME TO z_reports_gone;")));
    EXPECT_FALSE(ZReportsOf(db, QString(), QString(), QString()));
    EXPECT_FALSE(reported.isEmpty());
    reported.clear();
    // Neither a header-only file nor an empty one takes the place of the last export.
    const CsvExportResult failed = ExportZReportsCsv(db, QString(), QString(), QString(), QLatin1Char(';'), path);
    EXPECT_EQ(failed.status, CsvExportResult::Status::QueryFailed);
    EXPECT_FALSE(reported.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();
    const QString fresh = folder.filePath(QStringLiteral("fresh.csv"));
    EXPECT_EQ(ExportZReportsCsv(db, QString(), QString(), QString(), QLatin1Char(';'), fresh).status,
              CsvExportResult::Status::QueryFailed);
    EXPECT_FALSE(QFile::exists(fresh));
}

TEST_P(TillSessionsTest, TheDatabaseRefusesToChangeAZOrToWriteOutsideAnOpenSessionOfTheTill)
{
    QString refusal;
    ASSERT_TRUE(OpenTill(db, 1000, &refusal));
    sell(db, 500, Payment::cash());
    ASSERT_TRUE(RecordCashMovement(db, CashMovementKind::In, 100, QString()));
    const QString closed = *OpenSessionOf(db, QStringLiteral("Front"));
    ASSERT_TRUE(CloseTill(db, 1600, &refusal));
    ASSERT_TRUE(OpenTill(db, 0, &refusal));
    const QString open = *OpenSessionOf(db, QStringLiteral("Front"));
    const QStringList before = rows(QStringLiteral("SELECT * FROM z_reports;"))
                               + rows(QStringLiteral("SELECT * FROM z_report_tenders;"))
                               + rows(QStringLiteral("SELECT * FROM till_sessions ORDER BY id;"))
                               + rows(QStringLiteral("SELECT * FROM cash_movements;"));

    struct Case
    {
        const char* what;
        QString sql;
        bool sqliteOnly = false;
    };
    const QString record = QStringLiteral("INSERT INTO sale_records (sale_id, till, recorded_at, kind, subtotal_cents, "
                                          "discount_cents, total_cents, session_id) VALUES (?, '%1', 'now', 'sale', 1, 0, 1, '%2');");
    const QString movement = QStringLiteral("INSERT INTO cash_movements (movement_id, session_id, till, recorded_at, kind, "
                                            "amount_cents) VALUES ('m-new', '%1', '%2', 'now', 'in', 1);");
    const std::vector<Case> cases = {
        {"a Z changed", QStringLiteral("UPDATE z_reports SET counted_cash_cents = expected_cash_cents;")},
        {"a Z deleted", QStringLiteral("DELETE FROM z_reports;")},
        {"a Z's tender line changed", QStringLiteral("UPDATE z_report_tenders SET sales_cents = 0;")},
        {"a Z's tender line deleted", QStringLiteral("DELETE FROM z_report_tenders;")},
        {"a session changed", QStringLiteral("UPDATE till_sessions SET float_cents = 0;")},
        {"a session deleted", QStringLiteral("DELETE FROM till_sessions;")},
        {"a movement changed", QStringLiteral("UPDATE cash_movements SET amount_cents = 0;")},
        {"a movement deleted", QStringLiteral("DELETE FROM cash_movements;")},
        {"a Z replaced", QStringLiteral("REPLACE INTO z_reports SELECT * FROM z_reports;"), true},
        {"a session replaced", QStringLiteral("INSERT OR REPLACE INTO till_sessions SELECT * FROM till_sessions;"), true},
        {"a second Z of a session",
         QStringLiteral("INSERT INTO z_reports SELECT 99, session_id, till, 2, closed_at, sequence, opened_at, float_cents, "
                        "sales_count, sales_cents, discount_cents, refunds_count, refunds_cents, cash_in_cents, "
                        "cash_out_cents, credit_settled_cents, cash_settlements_cents, drawer_openings, cash_taken_cents, "
                        "change_given_cents, cash_refunded_cents, expected_cash_cents, counted_cash_cents, "
                        "difference_cents FROM z_reports;")},
        {"a second open session of the till",
         QStringLiteral("INSERT INTO till_sessions (session_id, till, sequence, opened_at, float_cents) "
                        "VALUES ('s-new', 'Front', 3, 'now', 0);")},
        {"a session skipping a number",
         QStringLiteral("INSERT INTO till_sessions (session_id, till, sequence, opened_at, float_cents) "
                        "VALUES ('s-new', 'Back', 2, 'now', 0);")},
        {"a record in a closed session", record.arg(QStringLiteral("Front"), closed)},
        {"a record in another till's session", record.arg(QStringLiteral("Back"), open)},
        {"a movement in a closed session", movement.arg(closed, QStringLiteral("Front"))},
        {"a movement in another till's session", movement.arg(open, QStringLiteral("Back"))},
    };
    for (const Case& c : cases) {
        if (c.sqliteOnly && onServer())
            continue;
        reported.clear();
        const bool done = c.sql.contains(u'?') ? db.ExecuteDirect(c.sql, {NewSaleId()}) : db.ExecuteDirect(c.sql);
        EXPECT_FALSE(done) << c.what;
        EXPECT_EQ(reported.size(), 1) << c.what;
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM z_reports;")) + rows(QStringLiteral("SELECT * FROM z_report_tenders;"))
                  + rows(QStringLiteral("SELECT * FROM till_sessions ORDER BY id;"))
                  + rows(QStringLiteral("SELECT * FROM cash_movements;")),
              before);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records;")), QStringList{"1"});
}

TEST_P(TillSessionsTest, ADatabaseOfThePreviousVersionGainsSessionsAndItsRecordsBelongToNone)
{
    // Records as the program stored them before there were sessions.
    ASSERT_TRUE(db.ExecuteDirect(
        onServer() ? QStringLiteral("DROP TABLE till_sessions, cash_movements, z_reports, z_report_tenders;"
                                    "DROP TRIGGER sale_records_in_open_session ON sale_records;"
                                    "ALTER TABLE sale_records DROP COLUMN session_id; DELETE FROM schema_version;")
                   : QStringLiteral("DROP TABLE till_sessions; DROP TABLE cash_movements; DROP TABLE z_reports;"
                                    "DROP TABLE z_report_tenders; DROP INDEX sale_records_session_id;"
                                    "DROP TRIGGER sale_records_in_open_session;"
                                    "ALTER TABLE sale_records DROP COLUMN session_id; PRAGMA user_version = 0;")));
    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("INSERT INTO sale_records (sale_id, till, recorded_at, kind, "
                                                "subtotal_cents, discount_cents, total_cents) "
                                                "VALUES ('old', 'Front', '2025-03-01 09:00:00', 'sale', 999, 0, 999);")));
    ASSERT_TRUE(TendersTable(db).insert(QStringLiteral("old"), {{kCashTender, 999, std::nullopt, std::nullopt}}));

    db.Migrate();
    ASSERT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
    sell(db, 250, Payment::cash());
    QString refusal;
    const std::optional<ZReport> z = CloseTill(db, 250, &refusal);
    ASSERT_TRUE(z) << refusal.toStdString();
    EXPECT_EQ(z->figures.salesCount, 1);
    EXPECT_EQ(z->figures.expectedCashCents, 250);
    EXPECT_EQ(rows(QStringLiteral("SELECT sale_id FROM sale_records WHERE session_id IS NULL;")), QStringList{"old"});
    // The database keeps every rule once more: the old record cannot be moved into a session either.
    EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("UPDATE sale_records SET session_id = ?;"), {z->figures.sessionId}));
    EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("DELETE FROM z_reports;")));
}

TEST_P(TillSessionsTest, AZCannotBeChangedOrDeletedByHandWithTheEnginesOwnShell)
{
    QString refusal;
    sell(db, 500, Payment::cash());
    ASSERT_TRUE(CloseTill(db, 400, &refusal));
    const QString shell = QStandardPaths::findExecutable(onServer() ? QStringLiteral("psql") : QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        GTEST_SKIP() << "no shell of the engine";
    const QString z = QStringLiteral("SELECT z_number, counted_cash_cents, difference_cents FROM z_reports;");
    ASSERT_EQ(rows(z), QStringList{"1|400|-100"});
    for (const char* sql : {"UPDATE z_reports SET counted_cash_cents = 500, difference_cents = 0;",
                            "DELETE FROM z_reports;", "DELETE FROM z_report_tenders;",
                            "UPDATE z_report_tenders SET sales_cents = 0;"}) {
        QProcess process;
        process.start(shell, onServer() ? QStringList{db.path(), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                                      QStringLiteral("-c"), QString::fromLatin1(sql)}
                                        : QStringList{db.path(), QString::fromLatin1(sql)});
        ASSERT_TRUE(process.waitForFinished(30000)) << sql;
        EXPECT_NE(process.exitCode(), 0) << sql;
        EXPECT_TRUE(process.readAllStandardError().contains("takings records are never changed")) << sql;
    }
    EXPECT_EQ(rows(z), QStringList{"1|400|-100"});
    EXPECT_EQ(rows(QStringLiteral("SELECT tender_type, sales_cents FROM z_report_tenders;")), QStringList{"Cash|500"});
}

TEST_P(TillSessionsTest, AClosingOfTheTillWaitsForTheRecordBeingWrittenIntoItsSession)
{
    Database closer;
    ASSERT_TRUE(closer.open(db.path()));
    prepareTill(closer, QStringLiteral("Front"));
    QString refusal;
    ASSERT_TRUE(OpenTill(db, 1000, &refusal));

    // A sale is being stored: its record is written, its transaction not committed yet.
    Transaction sale(db);
    ASSERT_TRUE(sale.active());
    ASSERT_TRUE(StoreSaleRecord(db, {QString(), QString(), 5, QString(), SaleRecordKind::Sale, std::nullopt, QString(),
                                     700, 0, 700, QString()},
                                {{kCashTender, 700, std::nullopt, std::nullopt}}));
    std::optional<ZReport> z;
    std::thread closing([&] { z = CloseTill(closer, 1700, &refusal); });
    if (onServer()) {
        // The close waits for the session the sale holds.
        Database watcher;
        ASSERT_TRUE(watcher.open(db.path()));
        for (int i = 0; i < 1000
                        && QueryRows(watcher, QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = "
                                                             "current_database() AND wait_event_type = 'Lock';"))
                               != QStringList{QStringLiteral("1")};
             ++i)
            QThread::msleep(10);
    } else {
        QThread::msleep(200); // data.db: the close waits to begin its transaction
    }
    EXPECT_TRUE(sale.commit());
    closing.join();

    ASSERT_TRUE(z) << refusal.toStdString();
    EXPECT_EQ(z->figures.salesCount, 1);
    EXPECT_EQ(z->figures.expectedCashCents, 1700);
    EXPECT_EQ(z->differenceCents, 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records r JOIN z_reports z ON z.session_id = r.session_id;")),
              QStringList{"1"});
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, TillSessionsTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

#include "core/AppError.h"
#include "reports/ReceiptsExport.h"
#include "reports/ReceiptsFilter.h"
#include "reports/ReceiptsListModel.h"
#include "reports/RecordTexts.h"
#include "reports/SalesHistory.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"
#include "store/SaleRecordsTable.h"
#include "store/TenderTypesTable.h"
#include "store/TendersTable.h"
#include "store/Transaction.h"
#include "support/EngineDatabaseTest.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <gtest/gtest.h>

// The receipts list on both engines: which records a filter takes and in which order, the pages it reads, the
// lines of a record, the export of the listed records; and the reprint of a record's receipt.

namespace {

class ReceiptsListTest : public EngineDatabaseTest
{
protected:
    void store(const QString& saleId, const QString& till, std::optional<qint64> receiptNumber,
               const QString& recordedAt, const std::vector<TenderRow>& tenders,
               SaleRecordKind kind = SaleRecordKind::Sale, const QString& customer = QString())
    {
        qint64 total = 0;
        for (const TenderRow& tender : tenders)
            total += tender.amountCents;
        SaleRecordRow record{saleId, till, receiptNumber, recordedAt, kind, std::nullopt, customer, total + 50, 50,
                             total};
        if (!customer.isEmpty())
            record.customerId = 7;
        ASSERT_TRUE(SaleRecordsTable(db).insert(record));
        ASSERT_TRUE(TendersTable(db).insert(saleId, tenders));
    }

    // A small shop: two tills, a split sale, a sale on account, a settlement, a voucher, around 1-2 March.
    void storeShop()
    {
        ASSERT_TRUE(TenderTypesTable(db).add(QStringLiteral("Voucher")));
        store("r1", "Front", 11, "2025-03-01 09:00:00", {{kCashTender, 625, 1000, 375}});
        store("r2", "Back", 11, "2025-03-01 09:00:00", {{kCardTender, 300, {}, {}}}); // the same moment
        store("r3", "Front", 12, "2025-03-02 18:30:00", {{kCashTender, 400, 500, 100}, {kCardTender, 600, {}, {}}});
        store("r4", "Front", {}, "2025-03-02 23:59:59", {{kAccountTender, 715, {}, {}}}, SaleRecordKind::Sale,
              "Ayşe; B");
        store("r5", "Front", {}, "2025-03-03 00:00:00", {{kCashTender, 475, {}, {}}}, SaleRecordKind::Settlement,
              "Ayşe; B");
        store("r6", "Back", 12, "2025-02-28 23:59:59", {{QStringLiteral("Voucher"), 200, {}, {}}});
    }

    // The sale ids of the model's rows, top to bottom.
    static QStringList saleIds(const ReceiptsListModel& model)
    {
        QStringList ids;
        for (int row = 0; row < model.rowCount(); ++row)
            ids << model.receipt(row).stored.record.saleId;
        return ids;
    }

    static QString rowText(const ReceiptsListModel& model, int row)
    {
        QStringList cells;
        for (int column = 0; column < ReceiptsListModel::ColumnCount; ++column)
            cells << model.text(row, column);
        return cells.join(u'|');
    }

    QByteArray exported(const SaleRecordFilter& filter)
    {
        const QString path = folder.filePath(QStringLiteral("receipts.csv"));
        const CsvExportResult result = ExportReceiptsCsv(db, filter, u';', path);
        EXPECT_TRUE(result.ok()) << result.message.toStdString();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_P(ReceiptsListTest, AFilterTakesTheRecordsOfItsDaysTillReceiptNumberAndPaymentTypeNewestFirst)
{
    storeShop();
    const auto days = [](int firstDay, int lastDay) {
        return ReceiptsOfDays(QDate(2025, 3, 1).addDays(firstDay - 1), QDate(2025, 3, 1).addDays(lastDay - 1));
    };
    const auto with = [](SaleRecordFilter filter, const std::function<void(SaleRecordFilter&)>& narrow) {
        narrow(filter);
        return filter;
    };
    const struct
    {
        const char* name;
        SaleRecordFilter filter;
        QStringList expected;
    } cases[] = {
        {"1-2 March, both ends whole days", days(1, 2), {"r4", "r3", "r2", "r1"}},
        {"28 Feb - 3 March", days(0, 3), {"r5", "r4", "r3", "r2", "r1", "r6"}},
        {"a day without records", days(4, 5), {}},
        {"till Front", with(days(1, 2), [](auto& f) { f.till = "Front"; }), {"r4", "r3", "r1"}},
        {"receipt 11 on either till", with(days(0, 3), [](auto& f) { f.receiptNumber = 11; }), {"r2", "r1"}},
        {"receipt 12 of Back", with(days(0, 3), [](auto& f) { f.receiptNumber = 12, f.till = "Back"; }), {"r6"}},
        {"paid by card, split too", with(days(0, 3), [](auto& f) { f.tenderType = kCardTender; }), {"r3", "r2"}},
        {"cash", with(days(0, 3), [](auto& f) { f.tenderType = kCashTender; }), {"r5", "r3", "r1"}},
        {"a shop's own type", with(days(0, 3), [](auto& f) { f.tenderType = "Voucher"; }), {"r6"}},
        {"cash on Back", with(days(0, 3), [](auto& f) { f.tenderType = kCashTender, f.till = "Back"; }), {}},
    };
    ReceiptsListModel model(db);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model.setFilter(c.filter);
        EXPECT_EQ(saleIds(model), c.expected);
        EXPECT_FALSE(model.canFetchMore(QModelIndex()));
    }

    model.setFilter(days(1, 3));
    EXPECT_EQ(rowText(model, 0), "2025-03-03 00:00:00|Front|-|Ayşe; B|Cash 4.75|4.75|Settlement|");
    EXPECT_EQ(rowText(model, 1), "2025-03-02 23:59:59|Front|-|Ayşe; B|Account 7.15|7.15|Sale|");
    EXPECT_EQ(rowText(model, 2), "2025-03-02 18:30:00|Front|12||Cash 4.00 + Card 6.00|10.00|Sale|");
    EXPECT_EQ(model.receipt(2).tenders, (std::vector<TenderRow>{{kCashTender, 400, 500, 100}, {kCardTender, 600, {}, {}}}));
    EXPECT_EQ(SaleRecordsTable(db).tills(), (QStringList{"Back", "Front"}));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

TEST_P(ReceiptsListTest, TheListReadsAPageAtATimeAndTheExportWritesEveryRecordInTheSameOrder)
{
    // 600 records of one day in ten moments of 60 records each, so pages end in the middle of a moment.
    QStringList newestFirst;
    {
        Transaction transaction(db);
        for (int i = 0; i < 600; ++i) {
            const QString id = QStringLiteral("s%1").arg(i, 3, 10, QLatin1Char('0'));
            store(id, "Front", i + 1, QStringLiteral("2025-03-10 12:00:%1").arg(i / 60, 2, 10, QLatin1Char('0')),
                  {{kCashTender, 100 + i, {}, {}}});
            newestFirst.prepend(id);
        }
        ASSERT_TRUE(transaction.commit());
    }
    store("other day", "Front", 999, "2025-03-11 08:00:00", {{kCashTender, 1, {}, {}}});

    // (No model tester here: it fetches every page itself.)
    ReceiptsListModel model(db);
    const SaleRecordFilter day = ReceiptsOfDays(QDate(2025, 3, 10), QDate(2025, 3, 10));
    model.setFilter(day);
    EXPECT_EQ(model.rowCount(), ReceiptsListModel::kPageSize);
    int fetches = 0;
    while (model.canFetchMore(QModelIndex()) && fetches < 10) {
        model.fetchMore(QModelIndex());
        ++fetches;
        EXPECT_LE(model.rowCount(), ReceiptsListModel::kPageSize * (fetches + 1));
    }
    EXPECT_EQ(fetches, 6); // the last one finds the end
    EXPECT_EQ(saleIds(model), newestFirst);
    EXPECT_EQ(model.text(0, ReceiptsListModel::Tenders), "Cash 6.99");

    const QList<QByteArray> lines = exported(day).split('\n');
    ASSERT_EQ(lines.size(), 602); // the header, 600 records and the empty rest after the last line's end
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(lines[i + 1].endsWith(";" + newestFirst[i].toUtf8() + "\r")) << i;
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

TEST_P(ReceiptsListTest, TheExportWritesTheListedRecordsTheSameOnBothEngines)
{
    storeShop();
    SaleRecordFilter filter = ReceiptsOfDays(QDate(2025, 2, 28), QDate(2025, 3, 3));
    filter.till = QStringLiteral("Front");
    EXPECT_EQ(exported(filter).toStdString(),
              "Datetime;Till;Receipt;Kind;Customer;Subtotal;Discount;Total;Tenders;Sale ID\r\n"
              "2025-03-03 00:00:00;Front;;settlement;\"Ayşe; B\";5.25;0.50;4.75;Cash 4.75;r5\r\n"
              "2025-03-02 23:59:59;Front;;sale;\"Ayşe; B\";7.65;0.50;7.15;Account 7.15;r4\r\n"
              "2025-03-02 18:30:00;Front;12;sale;;10.50;0.50;10.00;Cash 4.00 + Card 6.00;r3\r\n"
              "2025-03-01 09:00:00;Front;11;sale;;6.75;0.50;6.25;Cash 6.25;r1\r\n");
}

TEST_P(ReceiptsListTest, ARecordsLinesComeFromThePaidAndTheCreditLinesThatCarryItsId)
{
    const RecordStamp paid{QStringLiteral("paid"), QStringLiteral("2025-03-01 09:00:00")};
    const RecordStamp other{QStringLiteral("other"), QStringLiteral("2025-03-01 09:00:00")};
    const RecordStamp credit{QStringLiteral("credit"), QStringLiteral("2025-03-01 10:00:00")};
    PaymentsTable payments(db);
    ASSERT_TRUE(payments.insert(paid, 11, "C1", "COFFEE", 2, "2.50"));
    ASSERT_TRUE(payments.insert(other, 11, "X1", "OTHER", 1, "9.00"));
    ASSERT_TRUE(payments.insert(paid, 11, "T1", "TEA", 1, "1.25"));
    ASSERT_TRUE(CreditLinesTable(db).insert(credit, 7, "Ayşe", "M1", "MILK", 3, "1.20"));

    const auto cells = [](const std::optional<std::vector<RecordLine>>& lines) {
        const std::vector<QString> all = RecordLineCells(lines.value_or(std::vector<RecordLine>()));
        return QStringList(all.begin(), all.end()).join(u'|');
    };
    EXPECT_EQ(cells(payments.linesOfRecord("paid")), "C1|COFFEE|2.50|2|5.00|T1|TEA|1.25|1|1.25");
    EXPECT_EQ(cells(CreditLinesTable(db).linesOfRecord("credit")), "M1|MILK|1.20|3|3.60");
    EXPECT_EQ(cells(CreditLinesTable(db).linesOfRecord("paid")), "");

    // A record's lines as the list shows them: the paid ones, then those on account.
    const RecordStamp split{QStringLiteral("split"), QStringLiteral("2025-03-01 11:00:00")};
    ASSERT_TRUE(CreditLinesTable(db).insert(split, 7, "Ayşe", "B1", "BREAD", 1, "3.10"));
    ASSERT_TRUE(payments.insert(split, 12, "J1", "JAM", 2, "4.00"));
    const auto recordCells = [this, &cells](const QString& saleId) {
        SaleRecordRow record;
        record.saleId = saleId;
        return cells(ReadRecordLines(db, record));
    };
    EXPECT_EQ(recordCells("split"), "J1|JAM|4.00|2|8.00|B1|BREAD|3.10|1|3.10");
    EXPECT_EQ(recordCells("paid"), "C1|COFFEE|2.50|2|5.00|T1|TEA|1.25|1|1.25");
    EXPECT_EQ(recordCells("credit"), "M1|MILK|1.20|3|3.60");
    EXPECT_EQ(recordCells("none"), "");
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptsListTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

TEST(ReceiptsFilterTest, TheFilterControlsTakeWholeDaysAndNarrowOnlyWhenSet)
{
    const QDate first(2025, 3, 1);
    const QDate last(2025, 3, 2);
    const auto filter = [](const char* from, const char* until, const char* till, std::optional<qint64> receipt,
                           const char* tenderType) {
        return SaleRecordFilter{from, until, till, receipt, tenderType};
    };
    const struct
    {
        const char* name;
        ReceiptsFilterChoice choice;
        SaleRecordFilter expected;
    } cases[] = {
        {"two days, nothing else", {first, last, "", "", ""}, filter("2025-03-01", "2025-03-03", "", {}, "")},
        {"the last day of a year", {QDate(2024, 12, 31), QDate(2024, 12, 31), "", "", ""},
         filter("2024-12-31", "2025-01-01", "", {}, "")},
        {"a range backwards lists nothing", {last, first, "", "", ""}, filter("2025-03-02", "2025-03-02", "", {}, "")},
        {"a till and a payment type", {first, last, "Front", "", kCardTender},
         filter("2025-03-01", "2025-03-03", "Front", {}, "Card")},
        {"a receipt number", {first, last, "", "12", ""}, filter("2025-03-01", "2025-03-03", "", 12, "")},
        {"leading zeros", {first, last, "", "0012", ""}, filter("2025-03-01", "2025-03-03", "", 12, "")},
        {"receipt 0", {first, last, "", "0", ""}, filter("2025-03-01", "2025-03-03", "", 0, "")},
        {"eighteen digits", {first, last, "", "999999999999999999", ""},
         filter("2025-03-01", "2025-03-03", "", 999999999999999999, "")},
        {"not a number", {first, last, "", "12x", ""}, filter("2025-03-01", "2025-03-03", "", {}, "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SaleRecordFilter made = ReceiptsFilterOf(c.choice);
        EXPECT_EQ(made.from, c.expected.from);
        EXPECT_EQ(made.until, c.expected.until);
        EXPECT_EQ(made.till, c.expected.till);
        EXPECT_EQ(made.receiptNumber, c.expected.receiptNumber);
        EXPECT_EQ(made.tenderType, c.expected.tenderType);
    }
}

TEST(RecordReprintTest, TheReceiptIsRenderedFromTheRecordItsLinesAndTenders)
{
    const QString templateText = QStringLiteral("No [RECEIPTNO]\r\n[LIST]\r\nTotal: [TOTAL]\r\n[DATETIME]\r\n"
                                                "[TENDERS]\r\n[SALEID]\r\n");
    SaleRecordRow record{QStringLiteral("0b7e-id"), QStringLiteral("Front"), 12, QStringLiteral("2025-03-02 18:30:05"),
                         SaleRecordKind::Sale, std::nullopt, QString(), 675, 50, 625};
    const std::vector<RecordLine> lines{{"C1", "COFFEE", DbValue(QVariant("2.50")), DbValue(QVariant(2))},
                                        {"T1", "TEA", DbValue(QVariant(1.25)), DbValue(QVariant(1))}};
    const std::vector<TenderRow> tenders{{kCardTender, 125, {}, {}}, {kCashTender, 500, 1000, 500}};
    const ReprintFormat format{QStringLiteral("$"), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss")};
    EXPECT_EQ(RenderRecordReprint(templateText, record, lines, tenders, format).toStdString(),
              "No 12\r\nCOFFEE (2.50) * 2\r\nTEA (1.25) * 1\r\nTotal: $ 6.25\r\n02.03.2025 18:30:05\r\n"
              "Card: $ 1.25\r\nCash: $ 10.00\r\nChange: $ 5.00\r\n0b7e-id\r\n");

    record.receiptNumber.reset();
    EXPECT_TRUE(RenderRecordReprint(templateText, record, lines, tenders, format).startsWith("No -\r\n"));
    record.recordedAt.clear(); // an old line without a time
    EXPECT_THROW(RenderRecordReprint(templateText, record, lines, tenders, format), AppError);
}

} // namespace

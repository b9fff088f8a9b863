#include "reports/ReceiptsFilter.h"
#include "reports/ReceiptsListModel.h"
#include "reports/SalesHistory.h"
#include "reports/TableExport.h"
#include "reports/TopSellingReport.h"
#include "store/PaymentsTable.h"
#include "store/SaleRecordsTable.h"
#include "store/TenderTypesTable.h"
#include "store/TendersTable.h"
#include "support/EngineDatabaseTest.h"
#include "support/QueryRows.h"

#include <QFile>
#include <gtest/gtest.h>

// The takings records on both engines: sale records and tenders are only ever added (the database itself refuses
// anything else), the shop's payment types, and the records an older database gets for the sales it holds (which
// the receipts list then shows).

namespace {

class TakingsRecordsTest : public EngineDatabaseTest
{
protected:
    QStringList rows(const QString& sql) { return QueryRows(db, sql); }

    SaleRecordRow storedRecord()
    {
        const SaleRecordRow record{NewSaleId(), QStringLiteral("Front"), 12, QStringLiteral("2025-01-31 14:05:09"),
                                   SaleRecordKind::Sale, std::nullopt, QString(), 1000, 100, 900};
        EXPECT_TRUE(SaleRecordsTable(db).insert(record));
        EXPECT_TRUE(TendersTable(db).insert(record.saleId, kTenders));
        return record;
    }

    const std::vector<TenderRow> kTenders{{kCardTender, 400, std::nullopt, std::nullopt}, {kCashTender, 500, 2000, 1500}};
};

TEST_P(TakingsRecordsTest, ARecordAndItsTendersReadBackAndASecondCopyIsRefused)
{
    const SaleRecordRow record = storedRecord();
    EXPECT_EQ(SaleRecordsTable(db).withSaleId(record.saleId), record);
    EXPECT_EQ(TendersTable(db).of(record.saleId), kTenders);
    const SaleRecordRow settlement{NewSaleId(), QString(), std::nullopt, QStringLiteral("2025-02-01 09:00:00"),
                                   SaleRecordKind::Settlement, 7, QStringLiteral("Ann's"), 475, 0, 475};
    ASSERT_TRUE(SaleRecordsTable(db).insert(settlement));
    EXPECT_EQ(SaleRecordsTable(db).withSaleId(settlement.saleId), settlement);
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();

    // The same sale handed over twice is stored once.
    EXPECT_FALSE(SaleRecordsTable(db).insert(record));
    EXPECT_EQ(reported.size(), 1);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records;")), QStringList{"2"});
}

TEST_P(TakingsRecordsTest, TheDatabaseRefusesToChangeOrDeleteARecordOrATender)
{
    const SaleRecordRow record = storedRecord();
    const QString allRecords = QStringLiteral("SELECT * FROM sale_records ORDER BY id;");
    const QString allTenders = QStringLiteral("SELECT * FROM tenders ORDER BY id;");
    const QStringList recordsBefore = rows(allRecords);
    const QStringList tendersBefore = rows(allTenders);
    ASSERT_EQ(recordsBefore.size(), 1);
    ASSERT_EQ(tendersBefore.size(), 2);

    enum class On { Both, Sqlite, Server };
    const QString recordColumns =
        QStringLiteral("till, receipt_no, recorded_at, kind, customer_id, customer_name, subtotal_cents, discount_cents");
    const QString tenderColumns = QStringLiteral("sale_id, position, tender_type, handed_cents, change_cents");
    const struct
    {
        On on;
        QString sql;
    } cases[] = {
        {On::Both, QStringLiteral("UPDATE sale_records SET total_cents = 0;")},
        {On::Both, QStringLiteral("DELETE FROM sale_records;")},
        {On::Both, QStringLiteral("UPDATE tenders SET amount_cents = 0 WHERE tender_type = 'Cash';")},
        {On::Both, QStringLiteral("DELETE FROM tenders;")},
        {On::Server, QStringLiteral("TRUNCATE sale_records;")},
        {On::Server, QStringLiteral("TRUNCATE tenders;")},
        // REPLACE deletes the row it meets (by id, or by the unique sale_id) and writes its own.
        {On::Sqlite, QStringLiteral("REPLACE INTO sale_records (id, sale_id, %1, total_cents) "
                                    "SELECT id, 'another sale', %1, 0 FROM sale_records;")
                         .arg(recordColumns)},
        {On::Sqlite, QStringLiteral("INSERT OR REPLACE INTO sale_records (sale_id, %1, total_cents) "
                                    "SELECT sale_id, %1, 0 FROM sale_records;")
                         .arg(recordColumns)},
        {On::Sqlite, QStringLiteral("INSERT OR REPLACE INTO tenders (id, %1, amount_cents) "
                                    "SELECT id, %1, 0 FROM tenders;")
                         .arg(tenderColumns)},
        // An upsert's update is an update.
        {On::Both, QStringLiteral("INSERT INTO sale_records (sale_id, %1, total_cents) "
                                  "SELECT sale_id, %1, total_cents FROM sale_records WHERE true "
                                  "ON CONFLICT (sale_id) DO UPDATE SET total_cents = 0;")
                       .arg(recordColumns)},
        {On::Both, QStringLiteral("INSERT INTO tenders (id, %1, amount_cents) "
                                  "SELECT id, %1, amount_cents FROM tenders WHERE true "
                                  "ON CONFLICT (id) DO UPDATE SET amount_cents = 0;")
                       .arg(tenderColumns)},
    };
    for (const auto& [on, sql] : cases) {
        SCOPED_TRACE(sql.toStdString());
        reported.clear();
        if (on == On::Both || (on == On::Server) == onServer()) {
            EXPECT_FALSE(db.ExecuteDirect(sql));
            ASSERT_EQ(reported.size(), 1);
            EXPECT_TRUE(reported[0].contains(QStringLiteral("takings records are never changed")))
                << reported[0].toStdString();
        }
        EXPECT_EQ(rows(allRecords), recordsBefore);
        EXPECT_EQ(rows(allTenders), tendersBefore);
    }
    EXPECT_EQ(SaleRecordsTable(db).withSaleId(record.saleId), record);
    EXPECT_EQ(TendersTable(db).of(record.saleId), kTenders);
}

TEST_P(TakingsRecordsTest, PaymentTypesAreAddedAndSwitchedAndOnlyAnUnusedOneOfTheShopsIsRemoved)
{
    const auto types = [this] {
        QStringList out;
        const std::optional<std::vector<TenderType>> all = TenderTypesTable(db).all();
        EXPECT_TRUE(all.has_value());
        for (const TenderType& type : all.value_or(std::vector<TenderType>()))
            out << QStringLiteral("%1/%2/%3%4%5")
                       .arg(type.code, type.name, type.enabled ? QStringLiteral("on") : QStringLiteral("off"),
                            type.builtIn ? QStringLiteral("/built in") : QString(),
                            type.used ? QStringLiteral("/used") : QString());
        return out;
    };
    EXPECT_EQ(types(), (QStringList{"Cash/Cash/on/built in", "Card/Card/on/built in", "Account/Account/on/built in"}));

    TenderTypesTable table(db);
    ASSERT_TRUE(table.add(QStringLiteral("Voucher")));
    ASSERT_TRUE(table.add(QStringLiteral("Ayşe's Mobile")));
    ASSERT_TRUE(table.setEnabled(QStringLiteral("Voucher"), false));
    ASSERT_TRUE(table.setEnabled(kCardTender, false));
    ASSERT_TRUE(TendersTable(db).insert(NewSaleId(), {{QStringLiteral("Ayşe's Mobile"), 100, std::nullopt, std::nullopt}}));
    EXPECT_EQ(types(), (QStringList{"Cash/Cash/on/built in", "Card/Card/off/built in", "Account/Account/on/built in",
                                    "Voucher/Voucher/off", "Ayşe's Mobile/Ayşe's Mobile/on/used"}));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();

    // A used type stays, refused by the database itself; a built-in one is never removed.
    EXPECT_FALSE(table.remove(QStringLiteral("Ayşe's Mobile")));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("a payment type that was used is never removed")));
    reported.clear();
    EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("DELETE FROM tender_types WHERE code = 'Card';")));
    EXPECT_EQ(reported.size(), 1);
    ASSERT_TRUE(table.remove(QStringLiteral("Voucher")));
    ASSERT_TRUE(table.setEnabled(kCardTender, true));
    EXPECT_EQ(types(), (QStringList{"Cash/Cash/on/built in", "Card/Card/on/built in", "Account/Account/on/built in",
                                    "Ayşe's Mobile/Ayşe's Mobile/on/used"}));
}

// What the program shows of the stored lines: both history lists, the top sellers both ways, both exports.
QStringList WhatTheProgramShows(Database& db, const QString& folder)
{
    QStringList shown;
    const HistoryFilter all{QString(), QString(), QStringLiteral("2025-01-01 00:00:00"),
                            QStringLiteral("2025-12-31 23:59:59")};
    PaymentsListModel payments;
    CreditsListModel credits;
    EXPECT_TRUE(payments.load(db, all));
    EXPECT_TRUE(credits.load(db, all));
    for (int row = 0; row < payments.rowCount(); ++row)
        shown << payments.rowTexts(row).join(u'|');
    for (int row = 0; row < credits.rowCount(); ++row)
        shown << credits.rowTexts(row).join(u'|');
    for (const TopSellingRanking ranking : {TopSellingRanking::Quantity, TopSellingRanking::Amount}) {
        std::vector<QString> cells;
        EXPECT_TRUE(LoadTopSelling(db, QDate(2025, 1, 1), QDate(2025, 12, 31), ranking, cells));
        shown << QStringList(cells.begin(), cells.end()).join(u'|');
    }
    const QString file = folder + QStringLiteral("/export.csv");
    for (bool paymentsTable : {true, false}) {
        const CsvExportResult exported = paymentsTable ? ExportPaymentsCsv(db, u';', file)
                                                       : ExportCreditsCsv(db, u';', QStringLiteral("PAID"), file);
        EXPECT_TRUE(exported.ok()) << exported.message.toStdString();
        QFile written(file);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        shown << QString::fromUtf8(written.readAll());
    }
    return shown;
}

TEST_P(TakingsRecordsTest, TheSalesOfAnOlderDatabaseGetRecordsOnceAndEverythingElseReadsAsBefore)
{
    // The database as the program left it before there were records.
    ASSERT_TRUE(db.ExecuteDirect(
        onServer() ? QStringLiteral("DROP TABLE sale_records, tenders, tender_types;"
                                    "ALTER TABLE odemeler DROP COLUMN sale_id; ALTER TABLE veresiyeler DROP COLUMN sale_id;"
                                    "DELETE FROM schema_version;")
                   : QStringLiteral("DROP TABLE sale_records; DROP TABLE tenders; DROP TABLE tender_types;"
                                    "DROP INDEX odemeler_sale_id; DROP INDEX veresiyeler_sale_id;"
                                    "ALTER TABLE odemeler DROP COLUMN sale_id; ALTER TABLE veresiyeler DROP COLUMN sale_id;"
                                    "PRAGMA user_version = 0;")));
    // On a server every line names its till; data.db is the one till's.
    const QString till = onServer() ? QStringLiteral(",kasa") : QString();
    const QString front = onServer() ? QStringLiteral(",'Front'") : QString();
    db.setTillName(QStringLiteral("Front"));
    const QString paid = QStringLiteral("INSERT INTO odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi%1) VALUES "
                                        "(11,'C1','COFFEE',2,2.5,'2025-01-31 09:00:00'%2),"
                                        "(11,'T1','TEA',1,1.25,'2025-01-31 09:00:00'%2),"
                                        "(12,'C1','COFFEE',1,2.5,'2025-01-31 12:30:00'%2),"
                                        // credit settled then
                                        "(0,'K1','CAKE',1,4.75,'2025-01-31 15:00:00'%2),"
                                        // sold before there were receipt numbers
                                        "(0,'T1','TEA',2,1.25,'2025-02-01 08:00:00'%2);")
                             .arg(till, front);
    const QString credit =
        QStringLiteral("INSERT INTO veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat,odendimi,kayittarihi,"
                       "odemetarihi%1) VALUES "
                       "(1,'Ayşe','K1','CAKE',1,4.75,1,'2025-01-30 10:00:00','2025-01-31 15:00:00'%2),"
                       "(1,'Ayşe','M1','MILK',2,1.2,0,'2025-01-30 10:00:00',NULL%2),"
                       "(2,'Bob','T1','TEA',1,1.25,0,'2025-01-31 12:30:00',NULL%2);")
            .arg(till, front);
    ASSERT_TRUE(db.ExecuteDirect(paid));
    ASSERT_TRUE(db.ExecuteDirect(credit));
    // Receipt 11 of another till at the same moment is a sale of its own.
    if (onServer()) {
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("INSERT INTO odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi,"
                                                    "kasa) VALUES (11,'C1','COFFEE',1,2.5,'2025-01-31 09:00:00','Back');")));
    }
    const QStringList shownBefore = WhatTheProgramShows(db, folder.path());

    db.Migrate();
    ASSERT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
    const QString records = QStringLiteral(
        "SELECT r.till, r.recorded_at, r.kind, r.receipt_no, r.customer_id, r.customer_name, r.subtotal_cents,"
        " r.discount_cents, r.total_cents, t.position, t.tender_type, t.amount_cents,"
        " (SELECT count(*) FROM odemeler o WHERE o.sale_id = r.sale_id)"
        " + (SELECT count(*) FROM veresiyeler v WHERE v.sale_id = r.sale_id) AS lines"
        " FROM sale_records r JOIN tenders t ON t.sale_id = r.sale_id ORDER BY r.id;");
    QStringList expected{"Front|2025-01-30 10:00:00|sale||1|Ayşe|715|0|715|1|Account|715|2",
                         "Front|2025-01-31 09:00:00|sale|11|||625|0|625|1|Cash|625|2",
                         "Front|2025-01-31 12:30:00|sale|12|||250|0|250|1|Cash|250|1",
                         "Front|2025-01-31 12:30:00|sale||2|Bob|125|0|125|1|Account|125|1",
                         "Front|2025-01-31 15:00:00|settlement||1|Ayşe|475|0|475|1|Cash|475|1",
                         "Front|2025-02-01 08:00:00|sale||||250|0|250|1|Cash|250|1"};
    if (onServer())
        expected.insert(1, "Back|2025-01-31 09:00:00|sale|11|||250|0|250|1|Cash|250|1");
    EXPECT_EQ(rows(records).join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM odemeler WHERE sale_id IS NULL;")), QStringList{"0"});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM veresiyeler WHERE sale_id IS NULL;")), QStringList{"0"});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(DISTINCT sale_id) FROM sale_records;")),
              QStringList{QString::number(expected.size())});
    EXPECT_EQ(WhatTheProgramShows(db, folder.path()), shownBefore);

    // The receipts list shows a migrated sale with its lines.
    ReceiptsListModel model(db);
    model.setFilter(ReceiptsFilterOf({QDate(2025, 1, 31), QDate(2025, 1, 31), "Front", "11", ""}));
    ASSERT_EQ(model.rowCount(), 1);
    QStringList cells;
    for (int column = 0; column < ReceiptsListModel::ColumnCount; ++column)
        cells << model.text(0, column);
    EXPECT_EQ(cells.join(u'|'), "2025-01-31 09:00:00|Front|11||Cash 6.25|6.25|Sale|");
    const std::optional<std::vector<RecordLine>> lines =
        PaymentsTable(db).linesOfRecord(model.receipt(0).stored.record.saleId);
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_EQ(lines->at(1).name, "TEA");
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();

    // The next start finds it done.
    db.Migrate();
    EXPECT_EQ(rows(records).join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();

    // A sale an older program stored since gets its record when the takings tables are set up again.
    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("INSERT INTO odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi%1) "
                                                "VALUES (13,'C1','COFFEE',1,2.5,'2025-02-02 10:00:00'%2);")
                                     .arg(till, front)));
    ASSERT_TRUE(db.ExecuteDirect(onServer() ? QStringLiteral("DELETE FROM schema_version;")
                                            : QStringLiteral("PRAGMA user_version = 0;")));
    db.Migrate();
    expected << "Front|2025-02-02 10:00:00|sale|13|||250|0|250|1|Cash|250|1";
    EXPECT_EQ(rows(records).join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM odemeler WHERE sale_id IS NULL;")), QStringList{"0"});
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, TakingsRecordsTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

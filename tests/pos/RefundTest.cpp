#include "pos/Payment.h"
#include "pos/Refund.h"
#include "pos/RefundRecorder.h"
#include "pos/SaleRecorder.h"
#include "reports/SalesHistory.h"
#include "reports/TableExport.h"
#include "reports/TakingsSeries.h"
#include "reports/TopSellingReport.h"
#include "store/Database.h"
#include "store/Transaction.h"
#include "support/EngineDatabaseTest.h"
#include "support/QueryRows.h"

#include <QDate>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>

// Refunds on both engines: what is stored, what is refused, and that the database itself refuses a refund line
// beyond what was sold.

namespace {

// Products C1 (stock 10) and T1 (stock 1); reported errors are collected.
class RefundTest : public EngineDatabaseTest
{
protected:
    void SetUp() override
    {
        EngineDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const auto& [barcode, name, price, stock] :
             {std::tuple{"C1", "COFFEE", 2.5, 10}, std::tuple{"T1", "TEA", 1.2, 1}})
            ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?)"),
                                         {QString::fromUtf8(barcode), QString::fromUtf8(name), price, stock}));
    }

    // Sells COFFEE x5 (2.50) and TEA x2 (1.20) under receipt 7; gives the sale's id.
    QString sell(const Payment& payment = Payment::cash())
    {
        const RecordedSale sale = RecordSale(db, kLines, payment, payment.paid() ? std::optional<qint64>(7) : std::nullopt);
        EXPECT_TRUE(sale.committed);
        return sale.saleId;
    }

    RefundableSale refundable(const QString& saleId)
    {
        const std::optional<RefundableSale> sale = ReadRefundableSale(db, saleId);
        EXPECT_TRUE(sale.has_value());
        return sale.value_or(RefundableSale{});
    }

    // A refund of the sale: per line of it (in order), the quantity given back.
    RecordedRefund refund(const QString& saleId, const std::vector<qint64>& quantities, bool backToStock = true,
                          const QString& tender = QStringLiteral("Cash"), std::optional<qint64> receipt = 20)
    {
        const RefundableSale sale = refundable(saleId);
        RefundRequest request;
        request.originalSaleId = saleId;
        request.tenderType = tender;
        request.reason = QStringLiteral("broken");
        for (size_t i = 0; i < quantities.size() && i < sale.lines.size(); ++i)
            request.lines.push_back({sale.lines[i].lineId, quantities[i], backToStock});
        return RecordRefund(db, request, receipt);
    }

    QStringList rows(const QString& sql, const std::vector<QVariant>& params = {}) { return QueryRows(db, sql, params); }
    qint64 stock(const char* barcode)
    {
        return rows(QStringLiteral("SELECT stok FROM urunler WHERE barkod=?"), {QString::fromLatin1(barcode)}).value(0).toLongLong();
    }
    // Every record whose tenders do not add up to its total.
    QStringList recordsNotAddingUp()
    {
        return rows(QStringLiteral("SELECT r.sale_id FROM sale_records r LEFT JOIN tenders t ON t.sale_id = r.sale_id "
                                   "GROUP BY r.sale_id, r.total_cents HAVING coalesce(sum(t.amount_cents), 0) <> r.total_cents"));
    }
    // What is left of each line of the sale, as "sold-refunded".
    QStringList left(const QString& saleId)
    {
        QStringList texts;
        for (const RefundableLine& line : refundable(saleId).lines)
            texts << QStringLiteral("%1-%2").arg(line.sold).arg(line.refunded);
        return texts;
    }

    const std::vector<SaleLine> kLines = {{QStringLiteral("C1"), QStringLiteral("COFFEE"), 5, MoneyAmount::fromCents(250)},
                                          {QStringLiteral("T1"), QStringLiteral("TEA"), 2, MoneyAmount::fromCents(120)}};
};

TEST_P(RefundTest, APartialRefundThenTheRestThenNothingMore)
{
    const QString saleId = sell();
    const RefundableSale sale = refundable(saleId);
    EXPECT_EQ(sale.original.record.receiptNumber, 7);
    EXPECT_FALSE(sale.onAccount);
    EXPECT_EQ(sale.defaultTenderType(), QStringLiteral("Cash"));
    ASSERT_EQ(sale.lines.size(), 2u);
    EXPECT_EQ(sale.lines[0].priceCents, 250);
    EXPECT_EQ(sale.lines[0].left(), 5);

    const RecordedRefund first = refund(saleId, {2, 0});
    ASSERT_TRUE(first.committed) << first.refusal.toStdString() << reported.join('\n').toStdString();
    EXPECT_EQ(first.totalCents, -500);
    EXPECT_EQ(first.listText, QStringLiteral("COFFEE (2.50) * -2"));
    EXPECT_EQ(first.originalReceiptNumber, 7);
    EXPECT_EQ(first.tenders, (std::vector<TenderRow>{{QStringLiteral("Cash"), -500, std::nullopt, std::nullopt}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT kind, receipt_no, original_sale_id, unreferenced, reason, subtotal_cents, "
                                  "discount_cents, total_cents FROM sale_records WHERE sale_id = ?"),
                   {first.saleId}),
              QStringList{QStringLiteral("refund|20|%1|0|broken|-500|0|-500").arg(saleId)});
    EXPECT_EQ(rows(QStringLiteral("SELECT fisno, barkod, adet, fiyat, refund_of = ? FROM odemeler WHERE sale_id = ?"),
                   {sale.lines[0].lineId, first.saleId}),
              QStringList{"20|C1|-2|2.5|1"});
    EXPECT_EQ(left(saleId), (QStringList{"5-2", "2-0"}));

    const RecordedRefund rest = refund(saleId, {3, 2}, true, QStringLiteral("Card"), 21);
    ASSERT_TRUE(rest.committed) << rest.refusal.toStdString();
    EXPECT_EQ(rest.totalCents, -990);
    EXPECT_EQ(left(saleId), (QStringList{"5-5", "2-2"}));

    for (const std::vector<qint64>& more : {std::vector<qint64>{1, 0}, std::vector<qint64>{0, 1}}) {
        const RecordedRefund third = refund(saleId, more);
        EXPECT_FALSE(third.committed);
        EXPECT_EQ(third.refusal, QStringLiteral("A refund never exceeds what was sold."));
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records WHERE kind = 'refund'")), QStringList{"2"});
    const std::optional<std::vector<StoredSaleRecord>> refunds = SaleRecordsTable(db).refundsOf(saleId);
    ASSERT_TRUE(refunds);
    ASSERT_EQ(refunds->size(), 2u);
    EXPECT_EQ((*refunds)[0].record.saleId, first.saleId);
    EXPECT_EQ((*refunds)[1].record.saleId, rest.saleId);
    EXPECT_TRUE(recordsNotAddingUp().isEmpty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, ARefundAsksForSomethingLeftOnTheReceiptAndStoresNothingOtherwise)
{
    const QString saleId = sell();
    const QString otherSale = sell();
    const qint64 otherLine = refundable(otherSale).lines[0].lineId;
    const qint64 coffee = refundable(saleId).lines[0].lineId;
    const struct
    {
        std::vector<RefundLineChoice> lines;
        QString tender;
        const char* refusal;
    } cases[] = {
        {{}, QStringLiteral("Cash"), "Choose what to refund."},
        {{{coffee, 0, true}}, QStringLiteral("Cash"), "Choose what to refund."},
        {{{coffee, 6, true}}, QStringLiteral("Cash"), "A refund never exceeds what was sold."},
        {{{coffee, 3, true}, {coffee, 3, true}}, QStringLiteral("Cash"), "A refund never exceeds what was sold."},
        {{{coffee, -1, true}}, QStringLiteral("Cash"), "A refund never exceeds what was sold."},
        {{{otherLine, 1, true}}, QStringLiteral("Cash"), "This line is not on the receipt."},
        {{{coffee, 1, true}}, QString(), "Choose how the money is paid back."},
        {{{coffee, 1, true}}, QStringLiteral("Account"), "Only a sale on account is refunded to the account."},
    };
    for (const auto& c : cases) {
        RefundRequest request;
        request.originalSaleId = saleId;
        request.lines = c.lines;
        request.tenderType = c.tender;
        const RecordedRefund refund = RecordRefund(db, request, 30);
        EXPECT_FALSE(refund.committed);
        EXPECT_EQ(refund.refusal, QString::fromUtf8(c.refusal));
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records WHERE kind = 'refund' UNION ALL "
                                  "SELECT count(*) FROM odemeler WHERE adet < 0")),
              (QStringList{"0", "0"}));
    EXPECT_EQ(stock("C1"), 0);
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, OnlyASaleIsRefundedNeverARefundNorASettlement)
{
    const QString saleId = sell();
    const RecordedRefund first = refund(saleId, {1, 0});
    ASSERT_TRUE(first.committed);
    EXPECT_FALSE(ReadRefundableSale(db, first.saleId).has_value());
    RefundRequest again;
    again.originalSaleId = first.saleId;
    again.tenderType = QStringLiteral("Cash");
    again.lines = {{rows(QStringLiteral("SELECT id FROM odemeler WHERE sale_id = ?"), {first.saleId}).value(0).toLongLong(), 1, true}};
    const RecordedRefund refundOfRefund = RecordRefund(db, again, 31);
    EXPECT_FALSE(refundOfRefund.committed);
    EXPECT_EQ(refundOfRefund.refusal, QStringLiteral("Only a sale can be refunded."));
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();

    // Written by hand, a refund record of a refund, of a settlement or of nothing is refused by the database.
    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("INSERT INTO sale_records (sale_id, till, recorded_at, kind, "
                                                "subtotal_cents, discount_cents, total_cents) VALUES "
                                                "('settled', 'T', '2025-01-01 00:00:00', 'settlement', 0, 0, 0)")));
    for (const QString& original : {first.saleId, QStringLiteral("settled"), QStringLiteral("nothing")}) {
        reported.clear();
        EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("INSERT INTO sale_records (sale_id, till, recorded_at, kind, "
                                                     "subtotal_cents, discount_cents, total_cents, original_sale_id) "
                                                     "VALUES ('r-' || ?, 'T', '2025-01-01 00:00:00', 'refund', 0, 0, 0, ?)"),
                                      {original, original}));
        ASSERT_EQ(reported.size(), 1);
        EXPECT_TRUE(reported[0].contains(QStringLiteral("only a sale can be refunded"))) << reported[0].toStdString();
    }
}

TEST_P(RefundTest, TheLinesBackToStockRaiseItAndTheOthersLeaveIt)
{
    for (const bool backToStock : {true, false}) {
        const QString saleId = sell();
        const qint64 coffee = stock("C1");
        const qint64 tea = stock("T1");
        ASSERT_TRUE(refund(saleId, {2, 1}, backToStock).committed);
        EXPECT_EQ(stock("C1"), coffee + (backToStock ? 2 : 0));
        EXPECT_EQ(stock("T1"), tea + (backToStock ? 1 : 0));
    }
    // A product that is gone meanwhile is skipped; the refund is stored.
    const QString saleId = sell();
    ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("DELETE FROM urunler WHERE barkod = 'T1'")));
    EXPECT_TRUE(refund(saleId, {0, 2}).committed);
    EXPECT_TRUE(rows(QStringLiteral("SELECT id FROM urunler WHERE barkod = 'T1'")).isEmpty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, ARefundOfASaleOnAccountLowersWhatTheCustomerOwes)
{
    const QString saleId = sell(Payment::onAccount({7, QStringLiteral("Ann's")}));
    const RefundableSale sale = refundable(saleId);
    EXPECT_TRUE(sale.onAccount);
    EXPECT_EQ(sale.defaultTenderType(), QStringLiteral("Account"));
    const QString owed = QStringLiteral("SELECT sum(adet * fiyat) FROM veresiyeler WHERE musteriid = 7 AND odendimi = 0");
    EXPECT_EQ(rows(owed), QStringList{"14.9"});

    // The money goes back to the account whatever was chosen.
    const RecordedRefund refunded = refund(saleId, {2, 0}, true, QStringLiteral("Cash"), std::nullopt);
    ASSERT_TRUE(refunded.committed) << refunded.refusal.toStdString();
    EXPECT_EQ(refunded.tenders, (std::vector<TenderRow>{{QStringLiteral("Account"), -500, std::nullopt, std::nullopt}}));
    EXPECT_EQ(rows(owed), QStringList{"9.9"});
    EXPECT_EQ(rows(QStringLiteral("SELECT musteriadi, adet, odendimi FROM veresiyeler WHERE sale_id = ?"), {refunded.saleId}),
              QStringList{"Ann's|-2|0"});
    EXPECT_EQ(rows(QStringLiteral("SELECT customer_id, customer_name FROM sale_records WHERE sale_id = ?"), {refunded.saleId}),
              QStringList{"7|Ann's"});
    EXPECT_TRUE(rows(QStringLiteral("SELECT id FROM odemeler")).isEmpty());
    EXPECT_EQ(left(saleId), (QStringList{"5-2", "2-0"}));
    EXPECT_TRUE(recordsNotAddingUp().isEmpty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, ARefundOfASplitSaleDefaultsToCashAndAddsUp)
{
    const struct
    {
        std::vector<TenderRow> tenders;
        const char* defaultTender;
    } cases[] = {
        {{{QStringLiteral("Card"), 1000, {}, {}}, {QStringLiteral("Cash"), 490, {}, {}}}, "Cash"},
        {{{QStringLiteral("Card"), 1000, {}, {}}, {QStringLiteral("Voucher"), 490, {}, {}}}, "Card"},
        {{{QStringLiteral("Voucher"), 1490, {}, {}}}, "Voucher"},
    };
    for (const auto& c : cases) {
        const QString saleId = sell(Payment::split(c.tenders));
        EXPECT_EQ(refundable(saleId).defaultTenderType(), QString::fromUtf8(c.defaultTender));
        const RecordedRefund refunded = refund(saleId, {1, 1}, true, QString::fromUtf8(c.defaultTender));
        ASSERT_TRUE(refunded.committed) << refunded.refusal.toStdString();
        EXPECT_EQ(refunded.totalCents, -370);
    }
    EXPECT_TRUE(recordsNotAddingUp().isEmpty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, ARefundWithoutAReceiptIsMarkedAndLinkedToNothing)
{
    RefundRequest request;
    request.tenderType = QStringLiteral("Cash");
    request.looseLines = {{QStringLiteral("C1"), QStringLiteral("COFFEE"), DbValue(QVariant(2.5)), 3, true}};
    const RecordedRefund refunded = RecordRefund(db, request, 40);
    ASSERT_TRUE(refunded.committed) << refunded.refusal.toStdString();
    EXPECT_EQ(refunded.totalCents, -750);
    EXPECT_FALSE(refunded.originalReceiptNumber.has_value());
    EXPECT_EQ(rows(QStringLiteral("SELECT kind, original_sale_id IS NULL, unreferenced FROM sale_records")),
              QStringList{"refund|1|1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT fisno, adet, refund_of IS NULL FROM odemeler")), QStringList{"40|-3|1"});
    EXPECT_EQ(stock("C1"), 13);
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_P(RefundTest, ARefundLineWrittenByHandBeyondWhatWasSoldIsRefused)
{
    const QString saleId = sell();
    const qint64 coffee = refundable(saleId).lines[0].lineId;
    ASSERT_TRUE(refund(saleId, {2, 0}).committed);
    const qint64 refundLine = rows(QStringLiteral("SELECT id FROM odemeler WHERE adet < 0")).value(0).toLongLong();
    const QString insert = QStringLiteral("INSERT INTO odemeler (fisno, barkod, urunadi, adet, fiyat, sale_id, refund_of) "
                                          "VALUES (0, 'C1', 'COFFEE', ?, 2.5, 'by hand', ?)");
    const struct
    {
        qint64 quantity;
        qint64 refundOf;
        bool stored;
    } cases[] = {
        {-4, coffee, false},     // 2 of 5 are refunded already
        {1, coffee, false},      // a refund line gives back
        {-1, refundLine, false}, // a refund line is not refunded
        {-1, 999999, false},     // of no line
        {-3, coffee, true},      // exactly the rest
        {-1, coffee, false},     // nothing left
    };
    for (const auto& c : cases) {
        reported.clear();
        EXPECT_EQ(db.ExecuteDirect(insert, {c.quantity, c.refundOf}), c.stored) << c.quantity << " of " << c.refundOf;
        if (!c.stored) {
            ASSERT_EQ(reported.size(), 1);
            EXPECT_TRUE(reported[0].contains(QStringLiteral("a refund never exceeds what was sold"))) << reported[0].toStdString();
        }
    }
    // Nor can a refund line be changed to give back more.
    reported.clear();
    EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("UPDATE odemeler SET adet = -3 WHERE id = ?"), {refundLine}));
    EXPECT_EQ(rows(QStringLiteral("SELECT sum(adet) FROM odemeler WHERE refund_of = ?"), {coffee}), QStringList{"-5"});
}

TEST_P(RefundTest, TwoTillsRefundingTheSameLineAtOnceNeverGiveBackMoreThanWasSold)
{
    const QString saleId = sell();
    const qint64 coffee = refundable(saleId).lines[0].lineId;

    // The other till has written a refund of 4 of the 5 by hand and not committed yet; this till refunds 2 meanwhile.
    Database otherTill;
    ASSERT_TRUE(otherTill.open(db.path()));
    std::optional<Transaction> otherRefund(otherTill);
    ASSERT_TRUE(otherRefund->active());
    ASSERT_TRUE(otherTill.ExecuteDirect(QStringLiteral("INSERT INTO odemeler (fisno, barkod, adet, fiyat, sale_id, refund_of) "
                                                       "VALUES (0, 'C1', -4, 2.5, 'other', ?)"),
                                        {coffee}));
    RecordedRefund thisRefund;
    RefundRequest request;
    request.originalSaleId = saleId;
    request.tenderType = QStringLiteral("Cash");
    request.lines = {{coffee, 2, true}};
    std::thread thisTill([&] { thisRefund = RecordRefund(db, request, 50); });
    if (onServer()) {
        // This till waits for the other till's lock on the line, having read 5 left.
        Database watcher;
        EXPECT_TRUE(watcher.open(db.path()));
        for (int i = 0; i < 1000 && QueryRows(watcher, QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE "
                                                                   "datname = current_database() AND "
                                                                   "wait_event_type = 'Lock';"))
                                            != QStringList{QStringLiteral("1")};
             ++i)
            QThread::msleep(10);
    }
    EXPECT_TRUE(otherRefund->commit());
    thisTill.join();
    EXPECT_FALSE(thisRefund.committed);
    EXPECT_EQ(rows(QStringLiteral("SELECT sum(adet) FROM odemeler WHERE refund_of = ?"), {coffee}), QStringList{"-4"});
    EXPECT_TRUE(rows(QStringLiteral("SELECT id FROM sale_records WHERE kind = 'refund'")).isEmpty());

    // Two tills through the program at once: one of them gets the last unit.
    std::vector<RecordedRefund> results(2);
    std::vector<std::unique_ptr<Database>> tills;
    QStringList tillReports;
    for (int i = 0; i < 2; ++i) {
        tills.push_back(std::make_unique<Database>());
        tills.back()->setErrorReporter([&tillReports](const QString& message) { tillReports << message; });
        ASSERT_TRUE(tills.back()->open(db.path()));
    }
    request.lines = {{coffee, 1, true}};
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i)
        threads.emplace_back([&, i] { results[size_t(i)] = RecordRefund(*tills[size_t(i)], request, 60 + i); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(int(results[0].committed) + int(results[1].committed), 1) << tillReports.join('\n').toStdString();
    EXPECT_EQ(rows(QStringLiteral("SELECT sum(adet) FROM odemeler WHERE refund_of = ?"), {coffee}), QStringList{"-5"});
    EXPECT_TRUE(recordsNotAddingUp().isEmpty());
}

TEST_P(RefundTest, TheHistoryTopSellersTheExportAndTheChartComeOutNet)
{
    // The readers take refund lines as the lines they are: negative quantities, negative totals.
    db.setClock([] { return QDateTime(QDate(2025, 3, 10), QTime(9, 0)); });
    const QString saleId = sell();
    db.setClock([] { return QDateTime(QDate(2025, 3, 11), QTime(9, 0)); });
    ASSERT_TRUE(refund(saleId, {2, 2}).committed);
    const HistoryFilter march{QString(), QString(), QStringLiteral("2025-03-01 00:00:00"),
                              QStringLiteral("2025-03-31 23:59:59")};

    PaymentsListModel history;
    ASSERT_TRUE(history.load(db, march));
    QStringList lines;
    for (int row = 0; row < history.rowCount(); ++row)
        lines << history.rowTexts(row).mid(PaymentsListModel::Product, 4).join(u'|');
    EXPECT_EQ(lines, (QStringList{"COFFEE|2.50|5|12.50", "TEA|1.20|2|2.40", "COFFEE|2.50|-2|-5.00", "TEA|1.20|-2|-2.40"}));
    EXPECT_NEAR(history.grandTotal(), 7.5, 1e-9);

    const TakingsSeries chart = BuildTakingsSeries(march, history);
    double charted = 0;
    for (const TakingsBucket& bucket : chart.buckets) {
        if (bucket.first == QDate(2025, 3, 11)) {
            EXPECT_NEAR(bucket.payments, -7.4, 1e-9);
        }
        charted += bucket.payments;
    }
    EXPECT_NEAR(charted, 7.5, 1e-9);

    std::vector<QString> top;
    ASSERT_TRUE(LoadTopSelling(db, QDate(2025, 3, 1), QDate(2025, 3, 31), TopSellingRanking::Quantity, top));
    ASSERT_EQ(top.size(), 8u); // barcode, product, units, amount per product
    EXPECT_EQ(QStringList({top[0], top[2], top[4], top[6]}), (QStringList{"C1", "3", "T1", "0"}));

    const QString file = folder.filePath(QStringLiteral("export.csv"));
    const CsvExportResult exported = ExportPaymentsCsv(db, u';', file);
    ASSERT_TRUE(exported.ok()) << exported.message.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(csv.contains(QStringLiteral(";-2;"))) << csv.toStdString();
    EXPECT_EQ(csv.count(QStringLiteral(";-2;")), 2) << csv.toStdString();
}

TEST_P(RefundTest, AnOlderDatabaseIsMigratedOnceAndItsSalesCanBeRefunded)
{
    // The shop as an older program left it: before refunds (records without their columns), or before records.
    const QString beforeRefunds =
        onServer() ? QStringLiteral("ALTER TABLE sale_records DROP COLUMN original_sale_id CASCADE,"
                                    " DROP COLUMN unreferenced CASCADE, DROP COLUMN reason CASCADE;"
                                    "ALTER TABLE odemeler DROP COLUMN refund_of CASCADE;"
                                    "ALTER TABLE veresiyeler DROP COLUMN refund_of CASCADE;"
                                    "DELETE FROM schema_version;")
                   : QStringLiteral("DROP TRIGGER sale_records_refund_of_a_sale; DROP INDEX sale_records_original_sale_id;"
                                    "ALTER TABLE sale_records DROP COLUMN original_sale_id;"
                                    "ALTER TABLE sale_records DROP COLUMN unreferenced;"
                                    "ALTER TABLE sale_records DROP COLUMN reason;"
                                    "DROP TRIGGER odemeler_refund_within_sold; DROP TRIGGER odemeler_refund_stays_within_sold;"
                                    "DROP TRIGGER veresiyeler_refund_within_sold;"
                                    "DROP TRIGGER veresiyeler_refund_stays_within_sold;"
                                    "DROP INDEX odemeler_refund_of; DROP INDEX veresiyeler_refund_of;"
                                    "ALTER TABLE odemeler DROP COLUMN refund_of; ALTER TABLE veresiyeler DROP COLUMN refund_of;"
                                    "PRAGMA user_version = 0;");
    const QString beforeRecords =
        onServer() ? QStringLiteral("DROP TABLE sale_records, tenders, tender_types;"
                                    "ALTER TABLE odemeler DROP COLUMN sale_id; ALTER TABLE veresiyeler DROP COLUMN sale_id;")
                   : QStringLiteral("DROP TABLE sale_records; DROP TABLE tenders; DROP TABLE tender_types;"
                                    "DROP INDEX odemeler_sale_id; DROP INDEX veresiyeler_sale_id;"
                                    "ALTER TABLE odemeler DROP COLUMN sale_id; ALTER TABLE veresiyeler DROP COLUMN sale_id;");
    db.setTillName(QStringLiteral("Front"));
    for (const bool withRecords : {true, false}) {
        SCOPED_TRACE(withRecords ? "before refunds" : "before records");
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("DELETE FROM odemeler")));
        sell();
        ASSERT_TRUE(db.ExecuteDirect(beforeRefunds));
        if (!withRecords) {
            ASSERT_TRUE(db.ExecuteDirect(beforeRecords));
        }
        for (int start = 0; start < 2; ++start) {
            db.Migrate();
            ASSERT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
        }
        const std::optional<QString> saleId = FindRefundableSale(db, QStringLiteral("Front"), 7);
        ASSERT_TRUE(saleId.has_value());
        EXPECT_FALSE(FindRefundableSale(db, QStringLiteral("Back"), 7).has_value());
        EXPECT_FALSE(FindRefundableSale(db, QStringLiteral("Front"), 8).has_value());
        const RecordedRefund refunded = refund(*saleId, {5, 0});
        ASSERT_TRUE(refunded.committed) << refunded.refusal.toStdString() << reported.join('\n').toStdString();
        EXPECT_EQ(refunded.totalCents, -1250);
        EXPECT_EQ(left(*saleId), (QStringList{"5-5", "2-0"}));
        // The database checks the migrated lines too.
        EXPECT_FALSE(db.ExecuteDirect(QStringLiteral("INSERT INTO odemeler (adet, refund_of) VALUES (-1, ?)"),
                                      {refundable(*saleId).lines[0].lineId}));
        reported.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RefundTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

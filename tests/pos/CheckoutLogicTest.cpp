#include "core/SettingsStore.h"
#include "pos/Checkout.h"
#include "pos/Payment.h"
#include "pos/ReceiptBook.h"
#include "pos/ReceiptOutput.h"
#include "pos/Refund.h"
#include "pos/Sale.h"
#include "pos/SettingsReceiptNumberKeeper.h"
#include "pos/SplitPayment.h"
#include "store/TenderTypesTable.h"
#include "support/CommitFailure.h"
#include "support/EngineDatabaseTest.h"
#include "support/FixedEnvironment.h"
#include "support/QueryRows.h"

#include <QFile>
#include <optional>
#include <utility>
#include <vector>

// The checkout without a window: a sale of the logic library, receipt numbers in a settings file of the test's
// own, and a receipt output that answers as scripted.

namespace {

// Answers as scripted and records what reached it. At each print it notes the receipt number that settings.ini
// holds then: what a crash while printing would leave behind.
class ScriptedReceiptOutput : public ReceiptOutput
{
public:
    explicit ScriptedReceiptOutput(QString settingsFile) : m_settingsFile(std::move(settingsFile)) {}

    bool drawer = false;
    OutputResult printAnswer = OutputResult::done();
    OutputResult drawerAnswer = OutputResult::done();

    struct Printed
    {
        QString text;
        bool withDrawerPulse;
        QByteArray numberOnDisk;
    };
    std::vector<Printed> printed;
    int drawerPulses = 0;
    std::vector<std::pair<qint64, QString>> saved;

    bool hasCashDrawer() const override { return drawer; }
    OutputResult print(const QString& receiptText, bool openDrawer) override
    {
        printed.push_back({receiptText, openDrawer, NumberOnDisk(m_settingsFile)});
        return printAnswer;
    }
    OutputResult openCashDrawer() override
    {
        ++drawerPulses;
        return drawerAnswer;
    }
    void save(qint64 receiptNumber, const QString& receiptText) override { saved.push_back({receiptNumber, receiptText}); }

    // The ReceiptNumber line of the settings file as it is on disk.
    static QByteArray NumberOnDisk(const QString& settingsFile)
    {
        QFile file(settingsFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("ReceiptNumber="))
                return line.trimmed();
        return {};
    }

private:
    QString m_settingsFile;
};

// The settings' receipt numbers; each number stored is noted with the count of paid lines stored at that moment.
class NotedReceiptNumbers : public ReceiptNumberKeeper
{
public:
    NotedReceiptNumbers(SettingsStore& settings, Database& db) : m_numbers(settings), m_db(db) {}

    qint64 next() const override { return m_numbers.next(); }
    void setNext(qint64 number) override
    {
        m_numbers.setNext(number);
        notes << QStringLiteral("%1 with %2 lines stored").arg(number).arg(QueryRows(m_db, QStringLiteral("SELECT id FROM odemeler")).size());
    }

    QStringList notes;

private:
    SettingsReceiptNumberKeeper m_numbers;
    Database& m_db;
};

// Next receipt number 12; COFFEE x2 and MILK x1 in the sale, MILK out of stock.
class CheckoutLogicTest : public EngineDatabaseTest
{
protected:
    void SetUp() override
    {
        EngineDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The till's clock, as the program gives it to the database.
        db.setClock([this] { return env.now(); });
        settings = SettingsStore(settingsFile());
        numbers.setNext(12);
        numbers.notes.clear();
        book.ReceiptTemplate = {QStringLiteral("No [RECEIPTNO] [DATETIME]"), QStringLiteral("[LIST]"),
                                QStringLiteral("Total: [TOTAL]")};
        book.CurrencySymbol = QStringLiteral("$");
        for (const auto& [barcode, name, price, stock] :
             {std::tuple{"C1", "COFFEE", 2.5, 5}, std::tuple{"M1", "MILK", 1.2, 0}})
            ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?)"),
                                         {QString::fromUtf8(barcode), QString::fromUtf8(name), price, stock}));
        fillSale();
    }

    void fillSale()
    {
        sale.clear();
        sale.addLine(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 2);
        sale.addLine(QStringLiteral("M1"), QStringLiteral("MILK"), 1.2, 1);
    }

    QString settingsFile() const { return folder.filePath(QStringLiteral("settings.ini")); }

    // Sells the sale; the cashier answers "Print?" with printWanted, and each asking notes what was stored then.
    CheckoutResult sell(const Payment& payment, bool printWanted)
    {
        Checkout checkout(db, numbers, output, book, env);
        return checkout.sell(sale, payment, [&] {
            asked << QStringLiteral("Print? with %1 and %2 lines stored")
                         .arg(QString::fromLatin1(ScriptedReceiptOutput::NumberOnDisk(settingsFile())))
                         .arg(rows(QStringLiteral("SELECT id FROM odemeler UNION ALL SELECT id FROM veresiyeler")).size());
            return printWanted;
        });
    }
    QStringList rows(const QString& sql) { return QueryRows(db, sql); }
    qint64 stockOf(const QString& barcode)
    {
        return QueryRows(db, QStringLiteral("SELECT stok FROM urunler WHERE barkod=?"), {barcode}).value(0).toLongLong();
    }

    FixedEnvironment env;
    SettingsStore settings;
    NotedReceiptNumbers numbers{settings, db};
    ReceiptBook book;
    ScriptedReceiptOutput output{settingsFile()};
    Sale sale;
    QStringList asked;
};

const CreditCustomer kAnn{7, QStringLiteral("Ann's")};

QString Receipt(qint64 number)
{
    return QStringLiteral("No %1 31.01.2025 14:05:09\r\nCOFFEE (2.50) * 2\r\nMILK (1.20) * 1\r\nTotal: $ 6.20\r\n")
        .arg(number);
}

TEST_P(CheckoutLogicTest, ACashSaleTakesItsNumberBeforeItIsStoredAndSavesItsReceipt)
{
    const CheckoutResult result = sell(Payment::cash(), false);

    EXPECT_TRUE(result.recorded);
    EXPECT_TRUE(sale.empty());
    EXPECT_EQ(result.receiptNumber, 12);
    EXPECT_TRUE(result.failure.isEmpty());
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
    EXPECT_EQ(rows(QStringLiteral("SELECT fisno,barkod,urunadi,adet,fiyat FROM odemeler ORDER BY id")),
              (QStringList{"12|C1|COFFEE|2|2.5", "12|M1|MILK|1|1.2"}));
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 3);
    EXPECT_EQ(stockOf(QStringLiteral("M1")), 0);
    // Number 13 was on disk before anything was stored, and "Print?" comes once the sale is stored: a crash at
    // any moment cannot give the next sale number 12.
    EXPECT_EQ(numbers.notes, QStringList{"13 with 0 lines stored"});
    EXPECT_EQ(asked, QStringList{"Print? with ReceiptNumber=13 and 2 lines stored"});
    ASSERT_EQ(output.saved.size(), 1u);
    EXPECT_EQ(output.saved[0], std::make_pair(qint64(12), Receipt(12)));
    EXPECT_TRUE(output.printed.empty());
    EXPECT_EQ(output.drawerPulses, 0);
}

TEST_P(CheckoutLogicTest, TheReceiptIsDatedWithTheTimeItsSaleWasStoredWith)
{
    // The clock moves on a second each time it is read: a receipt that read it again would be a second late.
    db.setClock([this] {
        const QDateTime now = env.fixedNow;
        env.fixedNow = env.fixedNow.addSecs(1);
        return now;
    });
    ASSERT_TRUE(sell(Payment::cash(), false).recorded);
    EXPECT_EQ(rows(QStringLiteral("SELECT recorded_at FROM sale_records")), QStringList{"2025-01-31 14:05:09"});
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT odemetarihi FROM odemeler")), QStringList{"2025-01-31 14:05:09"});
    ASSERT_EQ(output.saved.size(), 1u);
    EXPECT_EQ(output.saved[0], std::make_pair(qint64(12), Receipt(12)));
}

TEST_P(CheckoutLogicTest, TheReceiptIsNumberedPrintedSavedAndTheDrawerOpenedByThePaymentAndThePrinter)
{
    using S = OutputResult::Status;
    struct Case
    {
        const char* name;
        bool cash;
        bool drawer;
        bool printWanted;
        S printer;  // how printing ends, when asked for
        S drawerPulse;
        bool numbered; // receipt 12 was numbered and saved
        bool printedWithPulse;
        int separatePulses;
        bool fails;
    };
    const Case cases[] = {
        {"cash, no receipt asked for", true, false, false, S::Done, S::Done, true, false, 0, false},
        {"cash with a drawer, no receipt asked for", true, true, false, S::Done, S::Done, true, false, 1, false},
        {"cash with a drawer, printed", true, true, true, S::Done, S::Done, true, true, 0, false},
        {"cash with a drawer, print cancelled", true, true, true, S::Cancelled, S::Done, true, true, 0, false},
        {"cash with a drawer, printer failed", true, true, true, S::Failed, S::Done, true, true, 0, true},
        {"cash with a drawer that fails", true, true, false, S::Done, S::Failed, true, false, 1, true},
        {"credit, no receipt asked for", false, true, false, S::Done, S::Done, false, false, 0, false},
        {"credit, printed", false, true, true, S::Done, S::Done, true, false, 0, false},
        {"credit, print cancelled", false, true, true, S::Cancelled, S::Done, false, false, 0, false},
        {"credit, printer failed", false, true, true, S::Failed, S::Done, true, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("DELETE FROM odemeler; DELETE FROM veresiyeler;")));
        fillSale();
        numbers.setNext(12);
        numbers.notes.clear();
        output = ScriptedReceiptOutput(settingsFile());
        output.drawer = c.drawer;
        output.printAnswer = c.printer == S::Failed ? OutputResult::failed(QStringLiteral("Printer not found!"))
                                                    : OutputResult{c.printer, {}};
        output.drawerAnswer = c.drawerPulse == S::Failed ? OutputResult::failed(QStringLiteral("Printer not found!"))
                                                         : OutputResult::done();

        const CheckoutResult result = sell(c.cash ? Payment::cash() : Payment::onAccount(kAnn), c.printWanted);

        EXPECT_TRUE(result.recorded);
        // Done, whatever became of its receipt: it cannot be sold twice.
        EXPECT_TRUE(sale.empty());
        if (c.cash)
            EXPECT_EQ(rows(QStringLiteral("SELECT fisno,urunadi FROM odemeler ORDER BY id")),
                      (QStringList{"12|COFFEE", "12|MILK"}));
        else
            EXPECT_EQ(rows(QStringLiteral("SELECT musteriid,musteriadi,urunadi,fiyat FROM veresiyeler ORDER BY id")),
                      (QStringList{"7|Ann's|COFFEE|2.5", "7|Ann's|MILK|1.2"}));
        EXPECT_EQ(result.receiptNumber, c.numbered ? std::optional<qint64>(12) : std::nullopt);
        EXPECT_EQ(numbers.next(), c.numbered ? 13 : 12);
        EXPECT_EQ(ScriptedReceiptOutput::NumberOnDisk(settingsFile()),
                  c.numbered ? QByteArray("ReceiptNumber=13") : QByteArray("ReceiptNumber=12"));
        if (c.numbered) {
            ASSERT_EQ(output.saved.size(), 1u);
            EXPECT_EQ(output.saved[0], std::make_pair(qint64(12), Receipt(12)));
        } else {
            EXPECT_TRUE(output.saved.empty());
        }
        if (c.printWanted) {
            ASSERT_EQ(output.printed.size(), 1u);
            EXPECT_EQ(output.printed[0].text, Receipt(12));
            EXPECT_EQ(output.printed[0].withDrawerPulse, c.printedWithPulse);
            // Number 13 is on disk while the receipt carrying 12 is printed.
            EXPECT_EQ(output.printed[0].numberOnDisk, QByteArray("ReceiptNumber=13"));
        } else {
            EXPECT_TRUE(output.printed.empty());
        }
        EXPECT_EQ(output.drawerPulses, c.separatePulses);
        EXPECT_EQ(result.failure, c.fails ? QStringLiteral("Printer not found!") : QString());
    }
}

TEST_P(CheckoutLogicTest, ASaleThatCannotBeStoredGivesItsNumberBackAndAsksNothing)
{
    ASSERT_TRUE(db.ExecuteDirect(FailCommitsOfSql(onServer(), {QStringLiteral("odemeler"), QStringLiteral("veresiyeler")})));
    output.drawer = true;
    for (const Payment& payment : {Payment::cash(), Payment::onAccount(kAnn)}) {
        SCOPED_TRACE(payment.paid() ? "cash" : "credit");
        reported.clear();
        numbers.notes.clear();
        const CheckoutResult result = sell(payment, true);

        EXPECT_FALSE(result.recorded);
        EXPECT_EQ(sale.lineCount(), 2);
        EXPECT_EQ(reported.size(), 1) << reported.join(u'\n').toStdString();
        EXPECT_TRUE(rows(QStringLiteral("SELECT id FROM odemeler UNION ALL SELECT id FROM veresiyeler")).isEmpty());
        EXPECT_EQ(stockOf(QStringLiteral("C1")), 5);
        // A paid sale's number went out to disk first and came back; a sale on account never took one.
        const QStringList givenBack{"13 with 0 lines stored", "12 with 0 lines stored"};
        EXPECT_EQ(numbers.notes, payment.paid() ? givenBack : QStringList());
        EXPECT_EQ(numbers.next(), 12);
        EXPECT_TRUE(asked.isEmpty());
        EXPECT_TRUE(output.printed.empty());
        EXPECT_TRUE(output.saved.empty());
        EXPECT_EQ(output.drawerPulses, 0);
    }
}

// Cash 5.00 and card 3.00 for the sale of 6.20: 1.80 back.
Payment CashAndCard()
{
    SplitPayment split(620, {kCashTender, kCardTender});
    split.setAmountText(kCashTender, QStringLiteral("5"));
    split.setAmountText(kCardTender, QStringLiteral("3.00"));
    return Payment::split(split.tenders());
}

TEST_P(CheckoutLogicTest, EachWayOfPayingStoresOneRecordWhoseTendersAddUpToItsTotalAndItsLinesCarryItsId)
{
    struct Case
    {
        const char* name;
        Payment payment;
        double discount;
        const char* record; // kind|receipt|customer|name|subtotal|discount|total|till
        QStringList tenders; // position|type|amount|handed|change
        int drawerPulses;
    };
    const Case cases[] = {
        {"cash, 10.00 handed", Payment::cash(1000), 0, "sale|12|||620|0|620|Front", {"1|Cash|620|1000|380"}, 1},
        {"cash, nothing typed", Payment::cash(), 0, "sale|12|||620|0|620|Front", {"1|Cash|620||"}, 1},
        {"cash, less typed than the total", Payment::cash(500), 0, "sale|12|||620|0|620|Front", {"1|Cash|620||"}, 1},
        {"cash, 10% off", Payment::cash(), 10, "sale|12|||620|62|558|Front", {"1|Cash|558||"}, 1},
        {"card", Payment::card(), 0, "sale|12|||620|0|620|Front", {"1|Card|620||"}, 0},
        {"cash and card with change", CashAndCard(), 0, "sale|12|||620|0|620|Front",
         {"1|Cash|320|500|180", "2|Card|300||"}, 1},
        {"on account", Payment::onAccount(kAnn), 0, "sale||7|Ann's|620|0|620|Front", {"1|Account|620||"}, 0},
    };
    db.setTillName(QStringLiteral("Front"));
    output.drawer = true;
    qint64 records = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("DELETE FROM odemeler; DELETE FROM veresiyeler;")));
        numbers.setNext(12);
        output.drawerPulses = 0;
        fillSale(); // the checkout cleared the last case's sale
        sale.setDiscountRate(c.discount);

        ASSERT_TRUE(sell(c.payment, false).recorded);

        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records")), QStringList{QString::number(++records)});
        const QStringList ids = rows(QStringLiteral("SELECT sale_id FROM odemeler UNION SELECT sale_id FROM veresiyeler"));
        ASSERT_EQ(ids.size(), 1) << "every line carries the one record's id";
        const QString saleId = ids[0];
        EXPECT_EQ(QueryRows(db,
                            QStringLiteral("SELECT (SELECT count(*) FROM odemeler WHERE sale_id = ?) "
                                           "+ (SELECT count(*) FROM veresiyeler WHERE sale_id = ?)"),
                            {saleId, saleId}),
                  QStringList{"2"});
        EXPECT_EQ(QueryRows(db,
                            QStringLiteral("SELECT kind, receipt_no, customer_id, customer_name, subtotal_cents, "
                                           "discount_cents, total_cents, till FROM sale_records WHERE sale_id = ?"),
                            {saleId}),
                  QStringList{QString::fromUtf8(c.record)});
        EXPECT_EQ(QueryRows(db,
                            QStringLiteral("SELECT position, tender_type, amount_cents, handed_cents, change_cents "
                                           "FROM tenders WHERE sale_id = ? ORDER BY position"),
                            {saleId}),
                  c.tenders);
        EXPECT_EQ(QueryRows(db,
                            QStringLiteral("SELECT r.total_cents - sum(t.amount_cents) FROM sale_records r "
                                           "JOIN tenders t ON t.sale_id = r.sale_id WHERE r.sale_id = ? "
                                           "GROUP BY r.total_cents"),
                            {saleId}),
                  QStringList{"0"});
        EXPECT_EQ(output.drawerPulses, c.drawerPulses);
    }
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

TEST_P(CheckoutLogicTest, TheReceiptTellsHowTheSaleWasPaidAndNamesItsRecord)
{
    book.ReceiptTemplate = {QStringLiteral("No [RECEIPTNO]"), QStringLiteral("[TENDERS]"), QStringLiteral("[SALEID]")};
    ASSERT_TRUE(sell(CashAndCard(), false).recorded);
    const QString saleId = rows(QStringLiteral("SELECT sale_id FROM sale_records")).value(0);
    EXPECT_EQ(saleId.size(), 36);
    ASSERT_EQ(output.saved.size(), 1u);
    EXPECT_EQ(output.saved[0].second,
              QStringLiteral("No 12\r\nCash: $ 5.00\r\nCard: $ 3.00\r\nChange: $ 1.80\r\n") + saleId
                  + QStringLiteral("\r\n"));
}

TEST_P(CheckoutLogicTest, ARefundTakesTheNextNumberAndItsReceiptComesFromTheRefundTemplate)
{
    ASSERT_TRUE(sell(Payment::cash(), false).recorded);
    const QString saleId = rows(QStringLiteral("SELECT sale_id FROM sale_records")).value(0);
    const std::optional<RefundableSale> sold = ReadRefundableSale(db, saleId);
    ASSERT_TRUE(sold && sold->lines.size() == 2);
    book.RefundTemplate = {QStringLiteral("REFUND [RECEIPTNO] of [ORIGINALRECEIPTNO] [DATETIME]"), QStringLiteral("[LIST]"),
                           QStringLiteral("Total: [TOTAL]")};
    const QString receipt13 = QStringLiteral("REFUND 13 of 12 31.01.2025 14:05:09\r\nCOFFEE (2.50) * -1\r\n"
                                             "Total: $ -2.50\r\n");
    const QString receipt14 = QStringLiteral("REFUND 14 of 12 31.01.2025 14:05:09\r\nCOFFEE (2.50) * -1\r\n"
                                             "Total: $ -2.50\r\n");
    const struct
    {
        const char* name;
        const char* tender;
        bool printWanted;
        bool printedWithPulse;
        int separatePulses;
    } cases[] = {
        {"cash out, printed with the drawer pulse", "Cash", true, true, 0},
        {"card, no receipt asked for: no drawer", "Card", false, false, 0},
    };
    qint64 number = 13;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        output = ScriptedReceiptOutput(settingsFile());
        output.drawer = true;
        RefundRequest request;
        request.originalSaleId = saleId;
        request.tenderType = QString::fromUtf8(c.tender);
        request.lines = {{sold->lines[0].lineId, 1, true}};
        Checkout checkout(db, numbers, output, book, env);
        const CheckoutResult result = checkout.refund(request, [&] { return c.printWanted; });
        EXPECT_TRUE(result.recorded);
        EXPECT_EQ(result.receiptNumber, number);
        EXPECT_EQ(numbers.next(), number + 1);
        const QString receipt = number == 13 ? receipt13 : receipt14;
        ASSERT_EQ(output.saved.size(), 1u);
        EXPECT_EQ(output.saved[0], std::make_pair(number, receipt));
        ASSERT_EQ(output.printed.size(), c.printWanted ? 1u : 0u);
        if (c.printWanted) {
            EXPECT_EQ(output.printed[0].text, receipt);
            EXPECT_EQ(output.printed[0].withDrawerPulse, c.printedWithPulse);
        }
        EXPECT_EQ(output.drawerPulses, c.separatePulses);
        ++number;
    }
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 5);

    // Refused: nothing stored, nothing printed, and the number is given back.
    output = ScriptedReceiptOutput(settingsFile());
    RefundRequest tooMuch;
    tooMuch.originalSaleId = saleId;
    tooMuch.tenderType = QStringLiteral("Cash");
    tooMuch.lines = {{sold->lines[0].lineId, 1, true}};
    Checkout checkout(db, numbers, output, book, env);
    bool asked = false;
    const CheckoutResult refused = checkout.refund(tooMuch, [&] { return asked = true; });
    EXPECT_FALSE(refused.recorded);
    EXPECT_EQ(refused.refusal, QStringLiteral("A refund never exceeds what was sold."));
    EXPECT_FALSE(asked);
    EXPECT_EQ(numbers.next(), 15);
    EXPECT_TRUE(output.saved.empty());
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM sale_records WHERE kind = 'refund'")), QStringList{"2"});
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, CheckoutLogicTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

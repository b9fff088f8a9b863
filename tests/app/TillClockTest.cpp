#include "catalogue/CreditSettlement.h"
#include "pos/Payment.h"
#include "pos/SaleRecorder.h"
#include "reports/ProductImport.h"
#include "store/CreditLinesTable.h"
#include "store/CustomersTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/TenderTypesTable.h"
#include "support/ContextFixture.h"
#include "support/Engines.h"
#include "support/QueryRows.h"
#include "support/TestServerDatabase.h"

#include <memory>
#include <ostream>

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

// Every time the program stores is the till's clock: a server in another time zone (or with a clock of its own)
// does not move a sale to another hour or, after midnight, to the day before.

namespace {

class TillClockTest : public ContextFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        ContextFixture::SetUp();
        if (GetParam() == Engine::Sqlite)
            return;
        m_server = std::make_unique<TestServerDatabase>();
        if (!m_server->available())
            GTEST_SKIP() << m_server->reason().toStdString();
        // The server's sessions run fourteen hours ahead of UTC; whatever zone the till is in, it is another.
        Database admin;
        ASSERT_TRUE(admin.open(m_server->url()));
        const QString name = QueryRows(admin, QStringLiteral("SELECT current_database();")).value(0);
        ASSERT_TRUE(admin.ExecuteDirect(
            QStringLiteral("ALTER DATABASE \"%1\" SET TimeZone TO 'Pacific/Kiritimati';").arg(name)));
        useServer(m_server->url(), QStringLiteral("Till 1"));
    }

    void TearDown() override
    {
        ContextFixture::TearDown();
        m_server.reset();
    }

    std::unique_ptr<TestServerDatabase> m_server;
};

TEST_P(TillClockTest, EveryStoredTimeIsTheTillsClock)
{
    const QString justAfterMidnight = QStringLiteral("2025-03-01 00:20:00");
    env.fixedNow = QDateTime::fromString(justAfterMidnight, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    Database& db = startContext().SQLConnection1();
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.messageTexts().join(u'|').toStdString();

    ASSERT_TRUE(ProductsTable(db).insert(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 10));
    InsertImportedProducts(db, {QStringLiteral("T1;TEA;1.25;4")}, QLatin1Char(';'), {});
    ASSERT_TRUE(CustomersTable(db).insert(QStringLiteral("Ayşe")));
    const std::vector<SaleLine> lines = {{QStringLiteral("C1"), QStringLiteral("COFFEE"), 1, MoneyAmount::fromCents(250)}};
    ASSERT_TRUE(RecordSale(db, lines, Payment::cash(), 7).committed);
    ASSERT_TRUE(RecordSale(db, lines, Payment::onAccount({CustomersTable(db).all().at(0).id, QStringLiteral("Ayşe")}), std::nullopt).committed);
    // The credit is paid the next morning.
    const QString nextMorning = QStringLiteral("2025-03-02 09:15:00");
    env.fixedNow = QDateTime::fromString(nextMorning, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(SettleCreditLines(db, QStringLiteral("Ayşe"), *CreditLinesTable(db).openLinesOf(QStringLiteral("Ayşe")), kCashTender).stored);

    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT barkod, kayittarihi FROM urunler ORDER BY id;")),
              (QStringList{QStringLiteral("C1|") + justAfterMidnight, QStringLiteral("T1|") + justAfterMidnight}));
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT kayittarihi FROM musteriler;")), QStringList{justAfterMidnight});
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT fisno, odemetarihi FROM odemeler ORDER BY id;")),
              (QStringList{QStringLiteral("7|") + justAfterMidnight, QStringLiteral("0|") + nextMorning}));
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT kayittarihi, odemetarihi FROM veresiyeler;")),
              QStringList{justAfterMidnight + QLatin1Char('|') + nextMorning});
    // The day's history finds the sale on the day the till sold it.
    Statement firstOfMarch = PaymentsTable(db).historyRows(QString(), QStringLiteral("2025-03-01 00:00:00"),
                                                           QStringLiteral("2025-03-01 23:59:59"));
    ASSERT_TRUE(firstOfMarch.next());
    EXPECT_EQ(firstOfMarch.text(1), QStringLiteral("7"));
    EXPECT_FALSE(firstOfMarch.next());
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.messageTexts().join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, TillClockTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

#include "SaleFixture.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"
#include "support/TestServerDatabase.h"

#include <QPushButton>

#include <condition_variable>
#include <mutex>
#include <thread>

// Another till holds a product's row and does not finish: this till's sale of it fails within the till's lock
// limit, says why, stores nothing and stays on the screen.

namespace {

// Another till whose sale has lowered a product's stock and holds its row until release(), or a minute at most.
class StuckTill
{
public:
    StuckTill(const QString& url, const QString& barcode)
        : m_thread([this, url, barcode] {
            Database db;
            db.open(url);
            Transaction sale(db);
            ProductsTable(db).lowerStock(barcode, 1);
            std::unique_lock lock(m_mutex);
            m_holding = true;
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::minutes(1), [this] { return m_released; });
        })
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_holding; });
    }
    ~StuckTill()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_holding = false;
    bool m_released = false;
    std::thread m_thread;
};

class ServerLockTest : public SaleFixture
{
protected:
    TestServerDatabase server;
};

TEST_F(ServerLockTest, ASaleBehindAStuckTillFailsWithinTheLockLimitAndStaysOnScreen)
{
    if (!server.available())
        GTEST_SKIP() << server.reason().toStdString();
    useServer(server.url(), QStringLiteral("Till 1"));
    writeSettings({QStringLiteral("ReceiptNumber=12"), QStringLiteral("ServerLockTimeout=1")});
    start();
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    scan(QStringLiteral("C1"));
    const QStringList onScreen = listRows();

    {
        StuckTill otherTill(server.url(), QStringLiteral("C1"));
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        form->sellByCashButton()->click();
    }
    const QStringList shown = dialogs.messageTexts();
    ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    EXPECT_EQ(shown[0], QStringLiteral("Confirm?"));
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("Exception raised with message: "))) << shown[1].toStdString();
    EXPECT_TRUE(shown[1].contains(QStringLiteral("lock timeout"))) << shown[1].toStdString();
    EXPECT_EQ(listRows(), onScreen);
    EXPECT_TRUE(form->sellByCashButton()->isEnabled());
    EXPECT_TRUE(query(QStringLiteral("SELECT * FROM odemeler")).isEmpty());
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 5); // the other till rolled back
    EXPECT_EQ(form->context().receiptNumbers().next(), 12);
}

} // namespace

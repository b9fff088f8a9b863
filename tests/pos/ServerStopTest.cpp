#include "SaleFixture.h"
#include "support/PrivatePostgresServer.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

// The shop's server stops while a sale is on the screen: the checkout fails as a whole and says that the server
// could not be reached, and the same sale is stored once, under the receipt number the failed attempt gave
// back, when the server is there again.

namespace {

class ServerStopTest : public SaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }
    QString settingsText() { return QString::fromUtf8(fileBytes(dataFile(QStringLiteral("settings.ini")))); }
    QString receiptFile(qint64 number) const { return receiptFolder() + QStringLiteral("/%1.txt").arg(number); }

    void sellByCash()
    {
        dialogs.clear();
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        form->sellByCashButton()->click();
    }

    // SELL BY CASH while the server is away: the cashier is told, nothing is stored, the sale stays on the
    // screen and its receipt number is still the next one.
    void sellFails(const QStringList& onScreen, qint64 receiptNumber)
    {
        sellByCash();
        const QStringList shown = dialogs.messageTexts();
        ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
        EXPECT_EQ(shown[0], QStringLiteral("Confirm?"));
        EXPECT_TRUE(shown[1].startsWith(QStringLiteral("The server could not be reached.")))
            << shown[1].toStdString();
        EXPECT_TRUE(shown[1].contains(server.folder())) << shown[1].toStdString();
        EXPECT_EQ(listRows(), onScreen);
        EXPECT_TRUE(form->sellByCashButton()->isEnabled());
        EXPECT_EQ(form->context().receiptNumbers().next(), receiptNumber);
        EXPECT_TRUE(settingsText().contains(QStringLiteral("ReceiptNumber=%1\r\n").arg(receiptNumber)));
        EXPECT_FALSE(QFileInfo::exists(receiptFile(receiptNumber)));
    }

    // SELL BY CASH with the server back: stored, numbered and cleared, with nothing but the confirmation shown.
    void sellSucceeds(qint64 receiptNumber)
    {
        sellByCash();
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Confirm?")});
        EXPECT_TRUE(listRows().isEmpty());
        EXPECT_TRUE(QFileInfo::exists(receiptFile(receiptNumber)));
        EXPECT_EQ(form->context().receiptNumbers().next(), receiptNumber + 1);
        EXPECT_TRUE(settingsText().contains(QStringLiteral("ReceiptNumber=%1\r\n").arg(receiptNumber + 1)));
    }

    PrivatePostgresServer server;
};

TEST_F(ServerStopTest, ASaleTheServerCannotTakeStaysOnScreenAndIsStoredOnceWhenItIsBack)
{
    if (!server.available())
        GTEST_SKIP() << server.reason().toStdString();
    QDir().mkpath(receiptFolder());
    useServer(server.url(), QStringLiteral("Till 1"));
    writeSettings({QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()});
    start();
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.messageTexts().join(u'|').toStdString();
    addProduct(QStringLiteral("C1"), QStringLiteral("COFFEE"), 2.5, 5);
    addProduct(QStringLiteral("M1"), QStringLiteral("MILK"), 1.2, 0);

    // The server stops under the first sale; the cashier tries once, and once more when it is back.
    scan(QStringLiteral("C1"));
    scan(QStringLiteral("C1"));
    scan(QStringLiteral("M1"));
    ASSERT_TRUE(server.stop()) << server.reason().toStdString();
    sellFails(listRows(), 12);
    ASSERT_TRUE(server.start()) << server.reason().toStdString();
    sellSucceeds(12);
    EXPECT_EQ(query(QStringLiteral("SELECT fisno,barkod,urunadi,adet,fiyat,kasa FROM odemeler ORDER BY id")),
              (QStringList{"12|C1|COFFEE|2|2.5|Till 1", "12|M1|MILK|1|1.2|Till 1"}));
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 3);
    EXPECT_EQ(stockOf(QStringLiteral("M1")), 0);

    // It stops under the next one; the cashier tries twice while it is away (the second try finds no server
    // to connect to), then once more when it is back.
    scan(QStringLiteral("C1"));
    ASSERT_TRUE(server.stop()) << server.reason().toStdString();
    sellFails(listRows(), 13);
    sellFails(listRows(), 13);
    ASSERT_TRUE(server.start()) << server.reason().toStdString();
    sellSucceeds(13);
    EXPECT_EQ(query(QStringLiteral("SELECT fisno,barkod,adet FROM odemeler ORDER BY id")),
              (QStringList{"12|C1|2", "12|M1|1", "13|C1|1"}));
    EXPECT_EQ(stockOf(QStringLiteral("C1")), 2);
}

} // namespace

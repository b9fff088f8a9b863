#include "TwoTillsShop.h"

#include "core/SettingsStore.h"
#include "store/Database.h"
#include "support/QueryRows.h"
#include "support/TestServerDatabase.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <algorithm>

// Two tills, each its own program with its own settings.ini, sell at once from one database on the server.

namespace {

constexpr int kSalesPerTill = 300;
const QStringList kTills = {QStringLiteral("Till 1"), QStringLiteral("Till 2")};

// What one till says it sold.
struct Sold
{
    QMap<qint64, QStringList> receipts; // receipt number -> its lines "barcode|quantity", sorted
    QStringList creditLines;            // "customer id|barcode|quantity", sorted
    QMap<QString, qint64> units;        // barcode -> units sold
    int cashSales = 0;
};

Sold ReadSold(const QString& path, QString* error)
{
    Sold sold;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no file ") + path;
        return sold;
    }
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QStringList words = QString::fromUtf8(raw).split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        QStringList lines;
        for (const QString& word : words.mid(2)) {
            const QStringList parts = word.split(u'*');
            lines << parts.value(0) + u'|' + parts.value(1);
            sold.units[parts.value(0)] += parts.value(1).toLongLong();
        }
        if (words[0] == QLatin1String("cash")) {
            ++sold.cashSales;
            const qint64 receipt = words[1].toLongLong();
            if (sold.receipts.contains(receipt))
                *error += QStringLiteral("receipt %1 given to two sales; ").arg(receipt);
            lines.sort();
            sold.receipts[receipt] = lines;
        } else {
            for (const QString& line : lines)
                sold.creditLines << words[1] + u'|' + line;
        }
    }
    sold.creditLines.sort();
    return sold;
}

// A program folder of one till: settings.ini naming the shop's server and the till.
void PrepareTill(const QString& folder, const QString& url, const QString& till)
{
    SettingsStore settings(folder + QStringLiteral("settings.ini"));
    settings.WriteString(QStringLiteral("DatabaseUrl"), url);
    settings.WriteString(QStringLiteral("TillName"), till);
    settings.WriteInteger(QStringLiteral("ReceiptNumber"), 1);
    ASSERT_TRUE(settings.UpdateFile());
}

} // namespace

// Each till sells 300 sales of one to four lines over the same twenty products, a quarter of them on credit,
// through the sale list and the checkouts. Afterwards every sale of each till is stored whole under its own
// receipt number with the till's name, and each product's stock is its start less the units both tills sold,
// floored at 0: a line lowers the stock to max(stock - quantity, 0), and such steps add up to max(start - sum, 0),
// so any lost or doubled decrement shows as a different number.
TEST(TwoTillsTest, TwoTillsSellingTheSameProductsAtOnceKeepEverySaleWholeAndLoseNoStock)
{
    TestServerDatabase server;
    if (!server.available())
        GTEST_SKIP() << server.reason().toStdString();
    Database db;
    QStringList reported;
    db.setErrorReporter([&reported](const QString& message) { reported << message; });
    ASSERT_TRUE(db.open(server.url()));
    db.Migrate();
    for (int p = 0; p < twotills::kProducts; ++p)
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?);"),
                                     {twotills::Barcode(p), QStringLiteral("Product %1").arg(p),
                                      twotills::PriceText(p), twotills::StartStock(p)}));
    for (const QString& customer : twotills::Customers())
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("insert into musteriler (musteriadi) values (?);"), {customer}));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<std::unique_ptr<QProcess>> children;
    for (int t = 0; t < kTills.size(); ++t) {
        const QString folder = dir.filePath(QStringLiteral("till%1/").arg(t + 1));
        ASSERT_TRUE(QDir().mkpath(folder));
        PrepareTill(folder, server.url(), kTills[t]);
        children.push_back(std::make_unique<QProcess>());
        children.back()->start(QStringLiteral(QUENVALE_TILL_CHILD),
                               {folder, QString::number(20250131 + t), QString::number(kSalesPerTill),
                                folder + QStringLiteral("sold.txt")});
    }
    std::vector<Sold> sold;
    for (int t = 0; t < kTills.size(); ++t) {
        QProcess& child = *children[size_t(t)];
        ASSERT_TRUE(child.waitForFinished(300000)) << kTills[t].toStdString() << " did not finish";
        ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        QString error;
        sold.push_back(ReadSold(dir.filePath(QStringLiteral("till%1/sold.txt").arg(t + 1)), &error));
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_GT(sold.back().cashSales, 0);
        ASSERT_FALSE(sold.back().creditLines.isEmpty());
    }

    for (int t = 0; t < kTills.size(); ++t) {
        SCOPED_TRACE(kTills[t].toStdString());
        // Each receipt holds exactly the lines its sale had, and each credit sale its lines.
        QMap<qint64, QStringList> storedReceipts;
        for (const QString& row : QueryRows(db, QStringLiteral("SELECT fisno, barkod, adet FROM odemeler WHERE kasa = ? "
                                                               "ORDER BY fisno, barkod, adet;"),
                                            {kTills[t]})) {
            const qsizetype bar = row.indexOf(u'|');
            storedReceipts[row.left(bar).toLongLong()] << row.mid(bar + 1);
        }
        EXPECT_EQ(storedReceipts, sold[size_t(t)].receipts);
        QStringList storedCredits = QueryRows(db, QStringLiteral("SELECT musteriid, barkod, adet FROM veresiyeler "
                                                                 "WHERE kasa = ?;"),
                                              {kTills[t]});
        storedCredits.sort();
        EXPECT_EQ(storedCredits, sold[size_t(t)].creditLines);
    }
    // No line without a till, and every line at its product's price.
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT count(*) FROM odemeler WHERE kasa IS NULL OR kasa NOT IN (?, ?);"),
                        {kTills[0], kTills[1]}),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT count(*) FROM veresiyeler WHERE kasa IS NULL OR kasa NOT IN (?, ?);"),
                        {kTills[0], kTills[1]}),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT count(*) FROM (SELECT barkod, fiyat FROM odemeler UNION ALL "
                                           "SELECT barkod, fiyat FROM veresiyeler) AS line JOIN urunler USING (barkod) "
                                           "WHERE line.fiyat <> urunler.fiyat;")),
              QStringList{QStringLiteral("0")});

    // Units sold per product and till, summed from the stored lines; each product's stock from them.
    QMap<QString, qint64> storedUnits;
    for (const QString& row : QueryRows(db, QStringLiteral("SELECT kasa, barkod, sum(adet) FROM (SELECT kasa, barkod, adet "
                                                           "FROM odemeler UNION ALL SELECT kasa, barkod, adet FROM "
                                                           "veresiyeler) AS line GROUP BY kasa, barkod;"))) {
        const QStringList cells = row.split(u'|');
        EXPECT_EQ(cells[2].toLongLong(), sold[size_t(kTills.indexOf(cells[0]))].units.value(cells[1])) << row.toStdString();
        storedUnits[cells[1]] += cells[2].toLongLong();
    }
    int soldOut = 0;
    for (int p = 0; p < twotills::kProducts; ++p) {
        const QString barcode = twotills::Barcode(p);
        const qint64 start = twotills::StartStock(p);
        const qint64 units = storedUnits.value(barcode);
        EXPECT_EQ(QueryRows(db, QStringLiteral("SELECT stok FROM urunler WHERE barkod = ?;"), {barcode}),
                  QStringList{QString::number(std::max<qint64>(start - units, 0))})
            << barcode.toStdString() << ": " << start << " less " << units << " sold";
        if (units > start)
            ++soldOut;
    }
    EXPECT_GE(soldOut, 4) << "the low stocks were meant to run out";
    EXPECT_TRUE(reported.isEmpty()) << reported.join(u'\n').toStdString();
}

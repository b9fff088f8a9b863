#include "pos/Money.h"
#include "reports/SalesHistory.h"
#include "reports/TakingsSeries.h"
#include "reports/TextTableModel.h"
#include "reports/TopSellersSeries.h"
#include "reports/TopSellingReport.h"
#include "store/DataFileTemplate.h"
#include "store/Database.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <ctime>

// The series the charts draw: takings per day, week, month or year from the loaded history lists, and the
// first rows of the top selling list.

namespace {

// A data.db made from empty.db, and the history lists loaded from it.
class TakingsSeriesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("data.db"));
        ASSERT_TRUE(CreateDataFileFromTemplate(path, QStringLiteral(QUENVALE_RUNTIME_DIR "/empty.db")));
        ASSERT_TRUE(m_db.open(path));
    }

    void addPayment(const QString& paidAt, int quantity, double price)
    {
        ASSERT_TRUE(m_db.ExecuteDirect(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,"
                                                      "odemetarihi) values (1,'B','Tea',?,?,?)"),
                                       {quantity, price, paidAt}));
    }

    void addCredit(const QString& soldAt, int quantity, double price, int paid)
    {
        ASSERT_TRUE(m_db.ExecuteDirect(QStringLiteral("insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,"
                                                      "adet,fiyat,odendimi,kayittarihi) values (1,'Ayla','B','Tea',"
                                                      "?,?,?,?)"),
                                       {quantity, price, paid, soldAt}));
    }

    static HistoryFilter filter(const char* begin, const char* end)
    {
        return {QString(), QString(), QString::fromLatin1(begin), QString::fromLatin1(end)};
    }

    TakingsSeries loadPayments(const HistoryFilter& f)
    {
        EXPECT_TRUE(m_payments.load(m_db, f));
        return BuildTakingsSeries(f, m_payments);
    }

    static QStringList days(const TakingsSeries& series)
    {
        QStringList out;
        for (const TakingsBucket& b : series.buckets)
            out << b.first.toString(QStringLiteral("MM-dd")) + (b.last != b.first ? QStringLiteral("..")
                                                                                       + b.last.toString(QStringLiteral("MM-dd"))
                                                                                 : QString());
        return out;
    }

    static QStringList amounts(const TakingsSeries& series, double TakingsBucket::*amount)
    {
        QStringList out;
        for (const TakingsBucket& b : series.buckets)
            out << MoneyText(b.*amount);
        return out;
    }

    static double sum(const TakingsSeries& series, double TakingsBucket::*amount)
    {
        double total = 0;
        for (const TakingsBucket& b : series.buckets)
            total += b.*amount;
        return total;
    }

    QTemporaryDir m_dir;
    Database m_db;
    PaymentsListModel m_payments;
    CreditsListModel m_credits;
    QAbstractItemModelTester m_paymentsChecked{&m_payments, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QAbstractItemModelTester m_creditsChecked{&m_credits, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

// The clocks of central Europe go forward at 02:00 on 2025-03-30; 02:30 that night never happened there.
class BerlinTime
{
public:
    BerlinTime() : m_old(qgetenv("TZ"))
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~BerlinTime()
    {
        if (m_old.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_old);
        tzset();
    }

private:
    QByteArray m_old;
};

TEST_F(TakingsSeriesTest, EveryDayOfTheRangeIsABarAcrossAMonthEndAndAClockChange)
{
    BerlinTime berlin;
    addPayment(QStringLiteral("2025-03-28 09:00:00"), 2, 1.10);
    addPayment(QStringLiteral("2025-03-28 23:59:59"), 1, 0.10);
    addPayment(QStringLiteral("2025-03-30 02:30:00"), 3, 2.50);
    addPayment(QStringLiteral("2025-03-30 23:30:00"), 1, 4);
    addPayment(QStringLiteral("2025-03-31 23:59:59"), 1, 5);
    addPayment(QStringLiteral("2025-04-01 00:00:00"), 2, 0.35);
    addPayment(QStringLiteral("2025-04-02 00:00:01"), 9, 9); // after the range

    const TakingsSeries series = loadPayments(filter("2025-03-28 00:00:00", "2025-04-02 00:00:00"));
    EXPECT_EQ(series.grouping, TakingsGrouping::Day);
    EXPECT_FALSE(series.withCredits);
    EXPECT_EQ(days(series), (QStringList{"03-28", "03-29", "03-30", "03-31", "04-01"}));
    EXPECT_EQ(amounts(series, &TakingsBucket::payments), (QStringList{"2.30", "0.00", "11.50", "5.00", "0.70"}));
    std::vector<bool> weekends;
    for (const TakingsBucket& b : series.buckets)
        weekends.push_back(b.weekend);
    EXPECT_EQ(weekends, (std::vector<bool>{false, true, true, false, false}));
    EXPECT_EQ(MoneyText(sum(series, &TakingsBucket::payments)), MoneyText(m_payments.grandTotal()));
    EXPECT_EQ(MoneyText(m_payments.grandTotal()), QStringLiteral("19.50"));
}

TEST_F(TakingsSeriesTest, CreditSalesAreASecondSeriesOverTheSameDays)
{
    addPayment(QStringLiteral("2025-01-30 10:00:00"), 1, 3);
    addCredit(QStringLiteral("2025-01-29 12:00:00"), 2, 1.25, 0);
    addCredit(QStringLiteral("2025-01-31 18:00:00"), 1, 7, 1);
    addCredit(QStringLiteral("2025-01-31 19:00:00"), 1, 0.5, 0);

    const HistoryFilter f = filter("2025-01-29 00:00:00", "2025-02-01 00:00:00");
    ASSERT_TRUE(m_payments.load(m_db, f));
    ASSERT_TRUE(m_credits.load(m_db, f));
    const TakingsSeries series = BuildTakingsSeries(f, m_payments, &m_credits);
    EXPECT_TRUE(series.withCredits);
    EXPECT_EQ(days(series), (QStringList{"01-29", "01-30", "01-31"}));
    EXPECT_EQ(amounts(series, &TakingsBucket::payments), (QStringList{"0.00", "3.00", "0.00"}));
    EXPECT_EQ(amounts(series, &TakingsBucket::credits), (QStringList{"2.50", "0.00", "7.50"}));
    EXPECT_EQ(MoneyText(sum(series, &TakingsBucket::credits)),
              MoneyText(m_credits.paidTotal() + m_credits.openTotal()));
}

TEST_F(TakingsSeriesTest, LongRangesGroupByWeekMonthAndYear)
{
    addPayment(QStringLiteral("2023-01-31 23:59:59"), 1, 1);
    addPayment(QStringLiteral("2023-02-01 00:00:00"), 1, 2);
    addPayment(QStringLiteral("2024-02-29 12:00:00"), 1, 4);
    addPayment(QStringLiteral("2025-01-05 23:00:00"), 1, 8);  // a Sunday
    addPayment(QStringLiteral("2025-01-06 00:00:00"), 1, 16); // the Monday after
    addPayment(QStringLiteral("2025-03-10 09:00:00"), 1, 32);
    addPayment(QStringLiteral("2025-06-30 12:00:00"), 1, 64);

    // 2025-01-01 is a Wednesday: the first week is cut to the range, the last (2025-06-30) is one Monday.
    const TakingsSeries weeks = loadPayments(filter("2025-01-01 00:00:00", "2025-07-01 00:00:00"));
    EXPECT_EQ(weeks.grouping, TakingsGrouping::Week);
    ASSERT_EQ(weeks.buckets.size(), 27u);
    EXPECT_EQ(days(weeks).mid(0, 2), (QStringList{"01-01..01-05", "01-06..01-12"}));
    EXPECT_EQ(days(weeks).last(), QStringLiteral("06-30"));
    EXPECT_EQ(amounts(weeks, &TakingsBucket::payments).mid(0, 2), (QStringList{"8.00", "16.00"}));
    EXPECT_EQ(MoneyText(weeks.buckets[10].payments), QStringLiteral("32.00")); // the week of 2025-03-10
    EXPECT_EQ(MoneyText(weeks.buckets.back().payments), QStringLiteral("64.00"));
    EXPECT_EQ(MoneyText(sum(weeks, &TakingsBucket::payments)), MoneyText(m_payments.grandTotal()));
    for (const TakingsBucket& b : weeks.buckets)
        EXPECT_FALSE(b.weekend);

    const TakingsSeries months = loadPayments(filter("2023-01-15 00:00:00", "2025-03-10 23:59:59"));
    EXPECT_EQ(months.grouping, TakingsGrouping::Month);
    ASSERT_EQ(months.buckets.size(), 27u);
    EXPECT_EQ(days(months).mid(0, 2), (QStringList{"01-15..01-31", "02-01..02-28"}));
    EXPECT_EQ(days(months).last(), QStringLiteral("03-01..03-10"));
    EXPECT_EQ(amounts(months, &TakingsBucket::payments).mid(0, 2), (QStringList{"1.00", "2.00"}));
    EXPECT_EQ(MoneyText(months.buckets[13].payments), QStringLiteral("4.00")); // 2024-02, leap day
    EXPECT_EQ(MoneyText(months.buckets.back().payments), QStringLiteral("32.00"));
    EXPECT_EQ(MoneyText(sum(months, &TakingsBucket::payments)), MoneyText(m_payments.grandTotal()));

    const TakingsSeries years = loadPayments(filter("2000-01-01 00:00:00", "2025-12-31 23:59:59"));
    EXPECT_EQ(years.grouping, TakingsGrouping::Year);
    ASSERT_EQ(years.buckets.size(), 26u);
    EXPECT_EQ(amounts(years, &TakingsBucket::payments).mid(23), (QStringList{"3.00", "4.00", "120.00"}));
}

TEST_F(TakingsSeriesTest, TheDaysOfAFilterAndLinesOutsideThem)
{
    const struct
    {
        const char* begin;
        const char* end;
        const char* first;
        const char* last;
    } cases[] = {
        {"2025-01-31 00:00:00", "2025-02-01 00:00:00", "2025-01-31", "2025-01-31"}, // up to midnight: one day
        {"2025-01-31 00:00:00", "2025-02-01 00:00:01", "2025-01-31", "2025-02-01"},
        {"2025-01-31 00:00:00", "2025-01-31 00:00:00", "2025-01-31", "2025-01-31"},
        {"2025-01-31 10:00:00", "2025-01-30 23:00:00", "", ""}, // ends before it begins
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        const DaySpan span = HistoryDaySpan(filter(c.begin, c.end));
        const QString got = span.isValid() ? span.first.toString(Qt::ISODate) + QLatin1Char('/')
                                                 + span.last.toString(Qt::ISODate)
                                           : QString(QLatin1Char('/'));
        EXPECT_EQ(got, QString::fromLatin1(c.first) + QLatin1Char('/') + QString::fromLatin1(c.last)) << c.begin;
    }
    EXPECT_EQ(GroupingForDays(90), TakingsGrouping::Day);
    EXPECT_EQ(GroupingForDays(91), TakingsGrouping::Week);

    // The line stamped exactly at the end's midnight is in the list, so it gets its day; a date that is no
    // date stays out of the bars but in the total.
    addPayment(QStringLiteral("2025-01-31 08:00:00"), 1, 1.5);
    addPayment(QStringLiteral("2025-01-31 99:99:99"), 1, 0.25);
    addPayment(QStringLiteral("2025-02-01 00:00:00"), 1, 2);
    addPayment(QStringLiteral("2025-01-3x 10:00:00"), 1, 0.75);
    const TakingsSeries series = loadPayments(filter("2025-01-31 00:00:00", "2025-02-01 00:00:00"));
    EXPECT_EQ(days(series), (QStringList{"01-31", "02-01"}));
    EXPECT_EQ(amounts(series, &TakingsBucket::payments), (QStringList{"1.75", "2.00"}));
    EXPECT_EQ(MoneyText(series.undatedPayments), QStringLiteral("0.75"));
    EXPECT_EQ(MoneyText(sum(series, &TakingsBucket::payments) + series.undatedPayments),
              MoneyText(m_payments.grandTotal()));

    // Nothing loaded and no readable range: no bars rather than a failure.
    EXPECT_TRUE(BuildTakingsSeries(HistoryFilter(), PaymentsListModel()).buckets.empty());
}

TEST(TakingsLabels, BarsAreLabelledInTheShortDateFormat)
{
    const struct
    {
        const char* format;
        const char* month;
    } formats[] = {
        {"dd.MM.yyyy", "MM.yyyy"}, {"M/d/yyyy", "M/yyyy"}, {"yyyy-MM-dd", "yyyy-MM"},
        {"d MMM yyyy", "MMM yyyy"}, {"dd/MM/yy", "MM/yy"}, {"MM.yyyy", "MM.yyyy"},
    };
    for (const auto& f : formats)
        EXPECT_EQ(MonthFormatOf(QString::fromLatin1(f.format)), QString::fromLatin1(f.month)) << f.format;

    const TakingsBucket week{QDate(2025, 1, 6), QDate(2025, 1, 12)};
    const QString format = QStringLiteral("dd.MM.yyyy");
    EXPECT_EQ(TakingsBarLabel(week, TakingsGrouping::Day, format), QStringLiteral("06.01.2025"));
    EXPECT_EQ(TakingsBarLabel(week, TakingsGrouping::Week, format), QStringLiteral("06.01.2025"));
    EXPECT_EQ(TakingsBarPeriod(week, TakingsGrouping::Week, format), QStringLiteral("06.01.2025 - 12.01.2025"));
    EXPECT_EQ(TakingsBarLabel(week, TakingsGrouping::Month, format), QStringLiteral("01.2025"));
    EXPECT_EQ(TakingsBarPeriod(week, TakingsGrouping::Year, QStringLiteral("M/d/yyyy")), QStringLiteral("2025"));
}

TEST(TopSellers, TheFirstTenRowsOfTheShownRankingWithDistinctLabels)
{
    TextTableModel list(4);
    QAbstractItemModelTester checked(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<QString> cells;
    const auto row = [&](const char* barcode, const char* product, const char* units, const char* amount) {
        for (const char* cell : {barcode, product, units, amount})
            cells.push_back(QString::fromUtf8(cell));
    };
    row("A", "Tea", "12", "30.00");
    row("B", "Çay", "9", "1.5E+10");
    row("C", "Tea", "7", "14.00"); // a second product of that name
    row("D", "", "5", "abc");      // no name, an amount that is no number
    for (int i = 0; i < 8; ++i)
        row(QByteArray("X").append(char('0' + i)).constData(), QByteArray("Item ").append(char('0' + i)).constData(),
            "1", "1.00");
    list.setCells(cells);

    const std::vector<TopSeller> units = TopSellers(list, TopSellingRanking::Quantity);
    ASSERT_EQ(units.size(), 10u);
    QStringList labels;
    for (const TopSeller& s : units)
        labels << s.label + QLatin1Char('=') + GeneralNumberText(s.value);
    EXPECT_EQ(labels.mid(0, 5), (QStringList{QStringLiteral("Tea (A)=12"), QStringLiteral("Çay=9"),
                                             QStringLiteral("Tea (C)=7"), QStringLiteral("D=5"),
                                             QStringLiteral("Item 0=1")}));
    EXPECT_EQ(labels.last(), QStringLiteral("Item 5=1"));

    const std::vector<TopSeller> takings = TopSellers(list, TopSellingRanking::Amount, 4);
    ASSERT_EQ(takings.size(), 4u);
    EXPECT_EQ(takings[1].value, 1.5e10);
    EXPECT_EQ(takings[3].value, 0);

    EXPECT_TRUE(TopSellers(TextTableModel(4), TopSellingRanking::Amount).empty());
}

} // namespace

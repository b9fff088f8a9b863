#include "core/AppError.h"
#include "pos/Money.h"
#include "reports/ReportNumber.h"
#include "reports/SalesHistory.h"
#include "store/Database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

// Formatting and rendering of the reports that needs no window.

namespace {

const QString kTemplate = QStringLiteral("Welcome to Our Shop\r\n[DATETIME]\r\n\r\nReceipt Number: [RECEIPTNO]\r\n\r\n"
                                         "[LIST]\r\n\r\nTotal: [TOTAL]\r\n\r\nThank you\r\n");
const ReprintFormat kFormat{QStringLiteral("$"), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss")};

TEST(ReportAmountText, TenSignificantDigitsThenTwoDecimals)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {0, "0.00"},
        {7.5, "7.50"},
        {2.675, "2.68"},          // rounds as written, halves away from zero
        {-2.675, "-2.68"},
        {0.004, "0.00"},
        {0.005, "0.01"},
        {1.0 / 3, "0.33"},
        {12345678.125, "12345678.13"},
        {123456789.125, "123456789.10"}, // ten significant digits are all that is kept
        {9999999999.4, "9999999999.00"},
        {9999999999.5, "1E+10"},         // rounds up to eleven integer digits
        {12345678901.0, "1.23456789E+10"},
        {-15000000000.0, "-1.5E+10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportAmountText(c.value), QLatin1String(c.text)) << c.value;
}

TEST(ReportNumberOf, StoredValuesReadAsNumbersOnlyWhenTheyAreNumbers)
{
    double number = -1;
    EXPECT_TRUE(ReportNumberOf(DbValue(QVariant(qint64(3))), number));
    EXPECT_EQ(number, 3);
    EXPECT_TRUE(ReportNumberOf(DbValue(QVariant()), number));
    EXPECT_EQ(number, 0);
    EXPECT_TRUE(ReportNumberOf(DbValue(QVariant(QStringLiteral("2.5"))), number));
    EXPECT_EQ(number, 2.5);
    for (const char* text : {"abc", "", "2,5"})
        EXPECT_FALSE(ReportNumberOf(DbValue(QVariant(QString::fromLatin1(text))), number)) << text;
}

TEST(HistoryReprint, PaymentLineRendersWithItsReceiptNumberAndDateTime)
{
    const QStringList cells{QStringLiteral("2025-01-30 09:15:00"), QStringLiteral("8690"), QStringLiteral("COFFEE"),
                            QStringLiteral("2.50"), QStringLiteral("3"), QStringLiteral("7.50"), QStringLiteral("41"),
                            QStringLiteral("12")};
    EXPECT_EQ(RenderPaymentReprint(kTemplate, cells, kFormat),
              QStringLiteral("Welcome to Our Shop\r\n30.01.2025 09:15:00\r\n\r\nReceipt Number: 12\r\n\r\n"
                             "COFFEE (2.50) * 3\r\n\r\nTotal: $ 7.50\r\n\r\nThank you\r\n"));
}

TEST(HistoryReprint, CreditLineHasNoReceiptNumberAndItsTotalInShortestForm)
{
    const QStringList cells{QStringLiteral("2025-01-30 09:15:00"), QStringLiteral("Ayla"), QStringLiteral("8690"),
                            QStringLiteral("COFFEE"), QStringLiteral("2.50"), QStringLiteral("3"),
                            QStringLiteral("7.50"), QStringLiteral("-"), QStringLiteral("5")};
    EXPECT_EQ(RenderCreditReprint(QStringLiteral("No [receiptno] on [date] at [time]\r\n[LIST]\r\n[total]\r\n"), cells,
                                  kFormat),
              QStringLiteral("No - on 30.01.2025 at 09:15:00\r\nCOFFEE (2.50) * 3\r\n$ 7.5\r\n"));
}

TEST(HistoryReprint, UnreadableCellsEndTheReprintWithTheirError)
{
    QStringList cells{QStringLiteral("2025-01-30 09:15:00"), QStringLiteral("1"), QStringLiteral("Tea"),
                      QStringLiteral("2.50"), QString(), QStringLiteral("0.00"), QStringLiteral("1"),
                      QStringLiteral("3")};
    try {
        RenderPaymentReprint(kTemplate, cells, kFormat);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'' is not a valid floating point value"));
    }
    cells[PaymentsListModel::Quantity] = QStringLiteral("1");
    cells[PaymentsListModel::Date] = QStringLiteral("yesterday");
    try {
        RenderPaymentReprint(kTemplate, cells, kFormat);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'yesterday' is not a valid date and time"));
    }
    cells[PaymentsListModel::Date] = QStringLiteral("2025-01-30");
    EXPECT_TRUE(RenderPaymentReprint(kTemplate, cells, kFormat).contains(QStringLiteral("30.01.2025 00:00:00")));
}

} // namespace

TEST(ReportAmountText, BelowTenSignificantDigitsItAgreesWithMoneyText)
{
    // Under 10^8 the ten-digit rule never bites, so both formats must give the same text; this covers the
    // shortcut taken for amounts that lie on whole cents as well as the general path.
    std::mt19937_64 random(42);
    std::uniform_int_distribution<qint64> cents(-9999999999LL, 9999999999LL);
    std::uniform_int_distribution<int> quantity(1, 40);
    for (int i = 0; i < 20000; ++i) {
        const double price = double(cents(random)) / 100;
        const double sum = price * quantity(random) / 40 * 3; // sums and products off whole cents
        for (double value : {price, sum, price + 0.005, -price / 7}) {
            if (std::fabs(value) >= 1e8)
                continue;
            ASSERT_EQ(ReportAmountText(value), MoneyText(value)) << value;
        }
    }
}

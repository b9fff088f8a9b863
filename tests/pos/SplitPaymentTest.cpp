#include "core/AppError.h"
#include "pos/SplitPayment.h"
#include "store/TenderTypesTable.h"

#include <gtest/gtest.h>

// The Payment window's arithmetic, without the window: a sale of 12.50 split between cash, card and a voucher.

namespace {

QString Described(const std::vector<TenderRow>& tenders)
{
    QStringList out;
    for (const TenderRow& tender : tenders)
        out << QStringLiteral("%1 %2%3")
                   .arg(tender.type)
                   .arg(tender.amountCents)
                   .arg(tender.handedCents ? QStringLiteral(" (%1 handed, %2 back)").arg(*tender.handedCents).arg(*tender.changeCents)
                                           : QString());
    return out.join(QStringLiteral(", "));
}

TEST(SplitPayment, OnlyCashGoesBeyondWhatRemainsAndTheSaleCompletesWhenNothingRemains)
{
    struct Case
    {
        const char* name;
        const char* cash;
        const char* card;
        const char* voucher;
        bool cashRead; // the cash box holds an amount, or nothing
        qint64 remaining;
        qint64 change;
        bool completes;
        const char* tenders;
    };
    const Case cases[] = {
        {"nothing typed", "", "", "", true, 1250, 0, false, ""},
        {"cash and card with change", "10", "5.00", "", true, 0, 250, true, "Cash 750 (1000 handed, 250 back), Card 500"},
        {"all three, exactly", "2.5", "5", "5.00", true, 0, 0, true, "Cash 250 (250 handed, 0 back), Card 500, Voucher 500"},
        {"the card alone", "", "12.50", "", true, 0, 0, true, "Card 1250"},
        {"too little", "7", "5", "", true, 50, 0, false, "Cash 700 (700 handed, 0 back), Card 500"},
        {"the card beyond the total", "", "13", "", true, -50, 0, false, "Card 1300"},
        {"card and voucher beyond the total, and cash", "1", "10", "3", true, -150, 0, false, "Cash 100 (100 handed, 0 back), Card 1000, Voucher 300"},
        {"cash that is no amount", "ten", "12.50", "", false, 0, 0, false, "Card 1250"},
        {"three decimals", "12.505", "", "", false, 1250, 0, false, ""},
        {"cash covering what the card left, and more", "20", "12.50", "", true, 0, 2000, true, "Card 1250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitPayment split(1250, {kCashTender, kCardTender, QStringLiteral("Voucher")});
        const bool cashRead = split.setAmountText(kCashTender, QString::fromLatin1(c.cash));
        EXPECT_TRUE(split.setAmountText(kCardTender, QString::fromLatin1(c.card)));
        EXPECT_TRUE(split.setAmountText(QStringLiteral("Voucher"), QString::fromLatin1(c.voucher)));
        EXPECT_EQ(cashRead, c.cashRead);
        EXPECT_EQ(split.remainingCents(), c.remaining);
        EXPECT_EQ(split.changeCents(), c.change);
        EXPECT_EQ(split.canComplete(), c.completes);
        EXPECT_EQ(Described(split.tenders()), QString::fromLatin1(c.tenders));
        if (c.completes) {
            qint64 sum = 0;
            for (const TenderRow& tender : split.tenders())
                sum += tender.amountCents;
            EXPECT_EQ(sum, split.totalCents());
        }
    }
}

TEST(SplitPayment, ASaleOfNothingOrLessCannotBeSplit)
{
    for (const qint64 total : {qint64(0), qint64(-500)}) {
        SplitPayment split(total, {kCashTender, kCardTender});
        EXPECT_FALSE(split.canComplete()) << total;
        split.setAmountText(kCashTender, QStringLiteral("5"));
        EXPECT_FALSE(split.canComplete()) << total;
    }
    // A type the window does not offer is not taken.
    SplitPayment split(1250, {kCashTender});
    EXPECT_FALSE(split.setAmountText(kCardTender, QStringLiteral("12.50")));
    EXPECT_EQ(split.remainingCents(), 1250);
}

TEST(SplitPayment, ASaleIsSplitForItsRecordsTotalAndASaleTooLargeToRecordIsNotSplit)
{
    // Under a discount each unit is charged at its discounted price: 3 x 0.33 + 2.50.
    const std::vector<SaleLine> lines{
        {QStringLiteral("T1"), QStringLiteral("TEA"), 3, MoneyAmount::fromCents(33), MoneyAmount::fromCents(40)},
        {QStringLiteral("C1"), QStringLiteral("COFFEE"), 1, MoneyAmount::fromCents(250)}};
    EXPECT_EQ(SplitPayment::totalCentsOf(lines), 349);
    EXPECT_EQ(SplitPayment::totalCentsOf({}), 0);

    const MoneyAmount gold = MoneyAmount::fromCents(900000000000000000);
    const std::vector<std::vector<SaleLine>> tooLarge{
        {{QStringLiteral("G1"), QStringLiteral("GOLD"), 99999, gold}, {QStringLiteral("G1"), QStringLiteral("GOLD"), 2, gold}},
        {{QStringLiteral("Y1"), QStringLiteral("YACHT"), 1, MoneyAmount::rounded(1e18)}}};
    for (const std::vector<SaleLine>& sale : tooLarge) {
        try {
            SplitPayment::totalCentsOf(sale);
            ADD_FAILURE() << "split for " << sale.front().name.toStdString();
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("The amounts of this sale are too large to be recorded."));
        }
    }
}

} // namespace

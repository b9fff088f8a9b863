#include "pos/DrawerCount.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

// The count of the drawer by notes and coins: the pieces of the shop's currency and their sum.

namespace {

QStringList Rows(const std::vector<Denomination>& denominations)
{
    QStringList rows;
    for (const Denomination& denomination : denominations)
        rows << (denomination.coin ? QStringLiteral("c") : QStringLiteral("n")) + DenominationText(denomination);
    return rows;
}

struct CurrencyCase
{
    const char* symbol;
    QStringList rows;
};

class DrawerDenominationsTest : public ::testing::TestWithParam<CurrencyCase>
{
};

TEST_P(DrawerDenominationsTest, ListsTheNotesThenTheCoinsOfTheCurrencyLargestFirst)
{
    const std::vector<Denomination> denominations = DrawerDenominations(QString::fromUtf8(GetParam().symbol));
    EXPECT_EQ(Rows(denominations).join(' ').toStdString(), GetParam().rows.join(' ').toStdString());
    for (size_t i = 1; i < denominations.size(); ++i)
        if (denominations[i].coin == denominations[i - 1].coin)
            EXPECT_LT(denominations[i].cents, denominations[i - 1].cents);
}

INSTANTIATE_TEST_SUITE_P(
    Currencies, DrawerDenominationsTest,
    ::testing::Values(
        CurrencyCase{"€", {"n500", "n200", "n100", "n50", "n20", "n10", "n5", "c2", "c1", "c0.50", "c0.20", "c0.10",
                           "c0.05", "c0.02", "c0.01"}},
        CurrencyCase{" eur ", {"n500", "n200", "n100", "n50", "n20", "n10", "n5", "c2", "c1", "c0.50", "c0.20",
                               "c0.10", "c0.05", "c0.02", "c0.01"}},
        CurrencyCase{"$", {"n100", "n50", "n20", "n10", "n5", "n2", "n1", "c1", "c0.50", "c0.25", "c0.10", "c0.05",
                           "c0.01"}},
        CurrencyCase{"£", {"n50", "n20", "n10", "n5", "c2", "c1", "c0.50", "c0.20", "c0.10", "c0.05", "c0.02",
                           "c0.01"}},
        CurrencyCase{"TL", {"n200", "n100", "n50", "n20", "n10", "n5", "c1", "c0.50", "c0.25", "c0.10", "c0.05",
                            "c0.01"}},
        // A symbol the program does not know: the change table's notes and every usual coin.
        CurrencyCase{"Fr.", {"n200", "n100", "n50", "n20", "n10", "n5", "c2", "c1", "c0.50", "c0.25", "c0.20",
                             "c0.10", "c0.05", "c0.02", "c0.01"}},
        CurrencyCase{"", {"n200", "n100", "n50", "n20", "n10", "n5", "c2", "c1", "c0.50", "c0.25", "c0.20", "c0.10",
                          "c0.05", "c0.02", "c0.01"}}));

TEST(DrawerCountTest, AddsThePiecesAndRefusesWhatIsNoCount)
{
    const std::vector<Denomination> pieces{{5000, false}, {500, false}, {100, true}, {5, true}};
    EXPECT_EQ(DrawerCountCents(pieces, {0, 0, 0, 0}), 0);
    EXPECT_EQ(DrawerCountCents(pieces, {2, 3, 4, 7}), 10000 + 1500 + 400 + 35);
    EXPECT_EQ(DrawerCountCents(pieces, {1, -1, 0, 0}), std::nullopt);
    EXPECT_EQ(DrawerCountCents(pieces, {1, 2, 3}), std::nullopt);
    const qint64 most = std::numeric_limits<qint64>::max();
    EXPECT_EQ(DrawerCountCents(pieces, {most / 5000 + 1, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(DrawerCountCents(pieces, {most / 5000, most / 500, 0, 0}), std::nullopt);
}

} // namespace

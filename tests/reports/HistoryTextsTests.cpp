#include "reports/HistoryTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

QByteArray barcodeOf(int n)
{
    return QByteArray::number(8690000000000LL + n);
}

} // namespace

// Enough products to grow the look-up table several times, met again in another order: each keeps its places,
// and a barcode sold under a second name keeps its barcode's place with a name of its own.
TEST(HistoryTexts, ProductsAreKeptOnceAndFoundAgainByTheirBarcode)
{
    TextPool pool;
    ProductTexts products(pool);
    constexpr int kProducts = 5000;
    std::vector<std::pair<quint32, quint32>> first;
    for (int n = 0; n < kProducts; ++n)
        first.push_back(products(barcodeOf(n), "Product " + QByteArray::number(n)));
    const quint32 keptTexts = pool.size();
    EXPECT_EQ(keptTexts, quint32(2 * kProducts));

    std::vector<int> order(kProducts);
    for (int n = 0; n < kProducts; ++n)
        order[size_t(n)] = n;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (const int n : order) {
        ASSERT_EQ(products(barcodeOf(n), "Product " + QByteArray::number(n)), first[size_t(n)]) << n;
        EXPECT_EQ(pool.text(first[size_t(n)].first), QString::fromLatin1(barcodeOf(n)));
    }
    EXPECT_EQ(pool.size(), keptTexts);

    const auto renamed = products(barcodeOf(42), "Çay 500 g");
    EXPECT_EQ(renamed.first, first[42].first);
    EXPECT_EQ(pool.text(renamed.second), QStringLiteral("Çay 500 g"));
    const auto empty = products(QByteArrayView(""), QByteArrayView(""));
    EXPECT_EQ(products(barcodeOf(0), "Product 0"), first[0]);
    EXPECT_EQ(products(QByteArrayView(""), QByteArrayView("")), empty);
    EXPECT_EQ(pool.text(empty.first), QString());
}

// A column with a few values keeps each once; one with many (weighed quantities) still gives every line its own
// text back.
TEST(HistoryTexts, FewTextsShareTheirValuesAndStillKeepEveryOther)
{
    TextPool pool;
    FewTexts quantities(pool);
    const quint32 one = quantities("1");
    const quint32 two = quantities("2");
    EXPECT_EQ(quantities("1"), one);
    EXPECT_EQ(quantities("2"), two);
    std::vector<std::pair<QByteArray, quint32>> weighed;
    for (int grams = 1; grams <= 200; ++grams) {
        const QByteArray text = "0." + QByteArray::number(grams);
        weighed.emplace_back(text, quantities(text));
    }
    for (const auto& [text, place] : weighed)
        EXPECT_EQ(pool.bytes(place), text);
    EXPECT_EQ(quantities("1"), one);
    EXPECT_LT(pool.size(), 205u);
}

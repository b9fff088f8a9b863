#include "pos/DrawerCount.h"

#include "pos/Money.h"

#include <QStringList>

namespace {

std::vector<Denomination> Pieces(std::initializer_list<qint64> notes, std::initializer_list<qint64> coins)
{
    std::vector<Denomination> pieces;
    for (qint64 cents : notes)
        pieces.push_back({cents, false});
    for (qint64 cents : coins)
        pieces.push_back({cents, true});
    return pieces;
}

} // namespace

std::vector<Denomination> DrawerDenominations(const QString& currencySymbol)
{
    const QString symbol = currencySymbol.trimmed().toUpper();
    const auto is = [&symbol](std::initializer_list<const char16_t*> names) {
        for (const char16_t* name : names)
            if (symbol == QString::fromUtf16(name))
                return true;
        return false;
    };
    if (is({u"€", u"EUR"}))
        return Pieces({50000, 20000, 10000, 5000, 2000, 1000, 500}, {200, 100, 50, 20, 10, 5, 2, 1});
    if (is({u"$", u"USD", u"US$"}))
        return Pieces({10000, 5000, 2000, 1000, 500, 200, 100}, {100, 50, 25, 10, 5, 1});
    if (is({u"£", u"GBP"}))
        return Pieces({5000, 2000, 1000, 500}, {200, 100, 50, 20, 10, 5, 2, 1});
    if (is({u"₺", u"TL", u"TRY"}))
        return Pieces({20000, 10000, 5000, 2000, 1000, 500}, {100, 50, 25, 10, 5, 1});
    return Pieces({20000, 10000, 5000, 2000, 1000, 500}, {200, 100, 50, 25, 20, 10, 5, 2, 1});
}

std::optional<qint64> DrawerCountCents(const std::vector<Denomination>& denominations,
                                       const std::vector<qint64>& pieces)
{
    if (denominations.size() != pieces.size())
        return std::nullopt;
    qint64 sum = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        qint64 amount = 0;
        if (pieces[i] < 0 || qMulOverflow(pieces[i], denominations[i].cents, &amount)
            || qAddOverflow(sum, amount, &sum))
            return std::nullopt;
    }
    return sum;
}

QString DenominationText(const Denomination& denomination)
{
    if (denomination.cents % 100 == 0)
        return QString::number(denomination.cents / 100);
    return CentsText(denomination.cents);
}

#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The count of the cash drawer by notes and coins. No widgets here.

struct Denomination
{
    qint64 cents = 0;
    bool coin = false;
};

// The notes and coins of the shop's currency, known by its symbol (€, $, £, ₺ and their codes), largest first.
// Any other symbol gets the notes of the sale screen's change table (200 down to 5) and the usual coins from 2
// down to 0.01, so that every piece in a drawer has a row to be counted in.
std::vector<Denomination> DrawerDenominations(const QString& currencySymbol);

// The sum of pieces[i] of denominations[i]; none when a count is negative, the lists differ in length, or the sum
// is beyond 64 bits.
std::optional<qint64> DrawerCountCents(const std::vector<Denomination>& denominations,
                                       const std::vector<qint64>& pieces);

// The caption of a denomination's row: "200" for a note, "0.50" for a coin below one unit, "2" for a coin of
// whole units.
QString DenominationText(const Denomination& denomination);

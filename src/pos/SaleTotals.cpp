#include "pos/SaleTotals.h"

#include "i18n/Translator.h"
#include "pos/Money.h"

#include <QRegularExpression>
#include <cmath>

double DiscountedPrice(double unitPrice, double discountRate)
{
    return unitPrice - unitPrice * discountRate / 100;
}

LineCells ComputeLineCells(double unitPrice, qint64 quantity, double discountRate)
{
    LineCells cells;
    cells.price = MoneyText(unitPrice);
    cells.quantity = QString::number(quantity);
    cells.total = MoneyText(unitPrice * double(quantity));
    if (discountRate != 0) {
        const double discounted = DiscountedPrice(unitPrice, discountRate);
        cells.discountedPrice = MoneyText(discounted);
        cells.discountedTotal = MoneyText(double(quantity) * discounted);
    }
    return cells;
}

namespace {

// The common shape of a money cell, read without a regular expression: an optional minus, 1 to 16 digits and
// optionally a point with one or two digits ("12.50", "-3", "0.5"). The sale list sums every cell on every
// scan, so this is the path a long sale takes.
bool TryPlainMoneyCents(const QString& text, qint64& cents)
{
    const auto digit = [&text](qsizetype at) {
        const char16_t c = at < text.size() ? text.at(at).unicode() : u'\0';
        return c >= u'0' && c <= u'9' ? int(c - u'0') : -1;
    };
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype wholeStart = negative ? 1 : 0;
    qsizetype i = wholeStart;
    qint64 whole = 0;
    for (; digit(i) >= 0; ++i) {
        if (i - wholeStart == 16)
            return false; // more digits than whole cents hold: the general reading decides
        whole = whole * 10 + digit(i);
    }
    if (i == wholeStart)
        return false;
    int fraction = 0;
    if (i < text.size()) {
        const int tenths = digit(i + 1);
        const int hundredths = digit(i + 2);
        if (text.at(i) != QLatin1Char('.') || tenths < 0 || text.size() != i + (hundredths < 0 ? 2 : 3))
            return false;
        fraction = tenths * 10 + qMax(hundredths, 0);
    }
    cents = whole * 100 + fraction;
    if (negative)
        cents = -cents;
    return true;
}

} // namespace

bool TryMoneyTextToCents(const QString& text, qint64& cents)
{
    if (TryPlainMoneyCents(text, cents))
        return true;
    double value = 0;
    if (!TryReadNumber(text, value))
        return false;
    static const QRegularExpression plain(QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d{0,2}))?\\s*$"));
    const QRegularExpressionMatch m = plain.match(text);
    if (m.hasMatch() && m.captured(2).size() <= 16) {
        const qint64 whole = m.captured(2).isEmpty() ? 0 : m.captured(2).toLongLong();
        const qint64 fraction = m.captured(3).leftJustified(2, QLatin1Char('0')).toLongLong();
        cents = whole * 100 + fraction;
        if (m.captured(1) == QLatin1String("-"))
            cents = -cents;
        return true;
    }
    if (!(std::fabs(value) < 9e16)) // beyond whole cents in 64 bits
        return false;
    cents = std::llround(value * 100);
    return true;
}

QStringList ChangeTableLines(qint64 grandTotalCents)
{
    struct Note
    {
        qint64 value;
        const char* caption;
        bool applies;
    };
    const qint64 t = grandTotalCents;
    const Note notes[] = {{200, "For 200", 10000 < t && t < 20000}, {100, "For 100", t < 10000},
                          {50, "For 50", t < 5000},                 {20, "For 20", t < 2000},
                          {10, "For 10", t < 1000},                 {5, "For 5", t < 500},
                          {1, "For 1", t < 100}};
    QStringList lines;
    for (const Note& note : notes) {
        if (!note.applies)
            continue;
        lines << QString() << TranslateText(note.caption) << MoneyText(double(note.value * 100 - t) / 100);
    }
    return lines;
}

QString ChangeForTendered(const QString& amountText, double grandTotal)
{
    double amount = 0;
    if (!TryReadNumber(amountText, amount))
        return QStringLiteral("0.00");
    return MoneyText(amount - grandTotal);
}

bool ReadDiscountRate(const QString& answer, double& rate)
{
    static const QRegularExpression number(QStringLiteral("^ *[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(answer).hasMatch())
        return false;
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    rate = value;
    return true;
}

#include "pos/SaleTotals.h"

#include "i18n/Translator.h"
#include "pos/Money.h"

#include <QRegularExpression>
#include <cmath>

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

#include "cashup/DaySummaryText.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/TenderTexts.h"

namespace {

QString Line(const QString& label, const QString& value)
{
    return label + QStringLiteral(": ") + value;
}

// "3 / $ 12.50": how many and how much, as the Z report writes it.
QString CountAndAmount(qint64 count, qint64 cents, const QString& symbol)
{
    return QString::number(count) + QStringLiteral(" / ") + CentsWithSymbol(symbol, cents);
}

} // namespace

QStringList DaySummaryText(const DaySummary& summary, const QString& currencySymbol)
{
    const auto money = [&currencySymbol](qint64 cents) { return CentsWithSymbol(currencySymbol, cents); };
    const QString indent = QStringLiteral("  ");
    QStringList lines{TranslateText("Day Summary") + QLatin1Char(' ') + summary.day, QString()};
    for (const ZReport& z : summary.tills) {
        const SessionFigures& f = z.figures;
        lines << f.till + QStringLiteral(", ") + TranslateText("Z Report") + QLatin1Char(' ')
                     + QString::number(z.zNumber)
              << indent + Line(TranslateText("Sales"), CountAndAmount(f.salesCount, f.salesCents, currencySymbol))
              << indent + Line(TranslateText("Expected cash"), money(f.expectedCashCents))
              << indent + Line(TranslateText("Counted cash"), money(z.countedCents))
              << indent + Line(TranslateText("Difference"), money(z.differenceCents));
    }
    if (!summary.tills.empty())
        lines << QString();
    const SessionFigures& t = summary.total;
    lines << TranslateText("All Tills")
          << Line(TranslateText("Sales"), CountAndAmount(t.salesCount, t.salesCents, currencySymbol));
    for (const TenderFigures& tender : t.tenders)
        if (tender.salesCount != 0 || tender.salesCents != 0)
            lines << indent + Line(TenderTypeCaption(tender.tenderType),
                                   CountAndAmount(tender.salesCount, tender.salesCents, currencySymbol));
    lines << Line(TranslateText("Discounts"), money(t.discountCents))
          << Line(TranslateText("Refunds"), CountAndAmount(t.refundsCount, t.refundsCents, currencySymbol));
    for (const TenderFigures& tender : t.tenders)
        if (tender.refundsCount != 0 || tender.refundsCents != 0)
            lines << indent + Line(TenderTypeCaption(tender.tenderType),
                                   CountAndAmount(tender.refundsCount, tender.refundsCents, currencySymbol));
    lines << Line(TranslateText("Credit settled"), money(t.creditSettledCents))
          << Line(TranslateText("Drawer openings without a sale"), QString::number(t.drawerOpenings))
          << Line(TranslateText("Float"), money(t.floatCents)) << Line(TranslateText("Cash in"), money(t.cashInCents))
          << Line(TranslateText("Cash out"), money(t.cashOutCents))
          << Line(TranslateText("Expected cash"), money(t.expectedCashCents))
          << Line(TranslateText("Counted cash"), money(summary.countedCents))
          << Line(TranslateText("Difference"), money(summary.differenceCents));
    if (!summary.stillOpen.isEmpty())
        lines << QString() << Line(TranslateText("Tills still open"), summary.stillOpen.join(QStringLiteral(", ")));
    return lines;
}

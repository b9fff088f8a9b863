#include "cashup/ZReportText.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/TenderTexts.h"

namespace {

QString Line(const QString& label, const QString& value)
{
    return label + QStringLiteral(": ") + value;
}

// "3 / $ 12.50": how many and how much.
QString CountAndAmount(qint64 count, qint64 cents, const QString& symbol)
{
    return QString::number(count) + QStringLiteral(" / ") + CentsWithSymbol(symbol, cents);
}

QStringList FigureLines(const SessionFigures& f, const QString& symbol)
{
    const auto money = [&symbol](qint64 cents) { return CentsWithSymbol(symbol, cents); };
    QStringList lines;
    lines << Line(TranslateText("Till"), f.till) << Line(TranslateText("Opened"), f.openedAt);
    lines << Line(TranslateText("Sales"), CountAndAmount(f.salesCount, f.salesCents, symbol));
    for (const TenderFigures& tender : f.tenders)
        if (tender.salesCount != 0 || tender.salesCents != 0)
            lines << QStringLiteral("  ")
                         + Line(TenderTypeCaption(tender.tenderType),
                                CountAndAmount(tender.salesCount, tender.salesCents, symbol));
    lines << Line(TranslateText("Discounts"), money(f.discountCents));
    lines << Line(TranslateText("Refunds"), CountAndAmount(f.refundsCount, f.refundsCents, symbol));
    for (const TenderFigures& tender : f.tenders)
        if (tender.refundsCount != 0 || tender.refundsCents != 0)
            lines << QStringLiteral("  ")
                         + Line(TenderTypeCaption(tender.tenderType),
                                CountAndAmount(tender.refundsCount, tender.refundsCents, symbol));
    lines << Line(TranslateText("Credit settled"), money(f.creditSettledCents))
          << Line(TranslateText("Drawer openings without a sale"), QString::number(f.drawerOpenings))
          << QString()
          << Line(TranslateText("Float"), money(f.floatCents))
          << Line(TranslateText("Cash taken"), money(f.cashTakenCents))
          << Line(TranslateText("Change given"), money(f.changeGivenCents))
          << Line(TranslateText("Cash refunded"), money(f.cashRefundedCents))
          << Line(TranslateText("Cash in"), money(f.cashInCents))
          << Line(TranslateText("Cash out"), money(f.cashOutCents))
          << Line(TranslateText("Cash settlements"), money(f.cashSettlementsCents))
          << Line(TranslateText("Expected cash"), money(f.expectedCashCents));
    return lines;
}

} // namespace

QStringList XReportText(const SessionFigures& figures, const QString& currencySymbol)
{
    QStringList lines{TranslateText("X Report"), QString()};
    lines << FigureLines(figures, currencySymbol);
    return lines;
}

QStringList ZReportText(const ZReport& report, const QString& currencySymbol)
{
    QStringList lines{TranslateText("Z Report") + QStringLiteral(" ") + QString::number(report.zNumber), QString()};
    lines << FigureLines(report.figures, currencySymbol);
    lines << Line(TranslateText("Counted cash"), CentsWithSymbol(currencySymbol, report.countedCents))
          << Line(TranslateText("Difference"), CentsWithSymbol(currencySymbol, report.differenceCents))
          << Line(TranslateText("Closed"), report.closedAt);
    return lines;
}

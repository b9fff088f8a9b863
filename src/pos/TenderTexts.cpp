#include "pos/TenderTexts.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "store/TenderTypesTable.h"

#include <QStringList>

QString TenderTypeCaption(const QString& code)
{
    if (code == kCashTender)
        return TranslateText("Cash");
    if (code == kCardTender)
        return TranslateText("Card");
    if (code == kAccountTender)
        return TranslateText("Account");
    return code;
}

QString TendersReceiptText(const std::vector<TenderRow>& tenders, const QString& currencySymbol)
{
    const auto money = [&currencySymbol](qint64 cents) { return CentsWithSymbol(currencySymbol, cents); };
    QStringList lines;
    std::optional<qint64> change;
    for (const TenderRow& tender : tenders) {
        lines << TenderTypeCaption(tender.type) + QStringLiteral(": ") + money(tender.handedCents.value_or(tender.amountCents));
        if (tender.changeCents)
            change = change.value_or(0) + *tender.changeCents;
    }
    if (change)
        lines << TranslateText("Change:") + QLatin1Char(' ') + money(*change);
    return lines.join(QStringLiteral("\r\n"));
}

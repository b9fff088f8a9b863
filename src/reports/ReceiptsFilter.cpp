#include "reports/ReceiptsFilter.h"

SaleRecordFilter ReceiptsOfDays(const QDate& first, const QDate& last)
{
    SaleRecordFilter filter;
    filter.from = first.toString(QStringLiteral("yyyy-MM-dd"));
    filter.until = last.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    return filter;
}

SaleRecordFilter ReceiptsFilterOf(const ReceiptsFilterChoice& choice)
{
    SaleRecordFilter filter = ReceiptsOfDays(choice.first, choice.last);
    filter.till = choice.till;
    bool isNumber = false;
    const qint64 receiptNumber = choice.receiptNumber.toLongLong(&isNumber);
    if (isNumber)
        filter.receiptNumber = receiptNumber;
    filter.tenderType = choice.tenderType;
    return filter;
}

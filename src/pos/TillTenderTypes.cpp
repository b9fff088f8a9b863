#include "pos/TillTenderTypes.h"

std::vector<TenderType> TillTenderTypes(const std::vector<TenderType>& types)
{
    std::vector<TenderType> till;
    for (const TenderType& type : types)
        if (type.code != kAccountTender)
            till.push_back(type);
    return till;
}

QStringList OfferedTenderTypes(const std::vector<TenderType>& types)
{
    QStringList offered{kCashTender};
    for (const TenderType& type : TillTenderTypes(types))
        if (type.enabled && type.code != kCashTender)
            offered << type.code;
    return offered;
}

bool TakesCards(const std::vector<TenderType>& types)
{
    return OfferedTenderTypes(types).contains(kCardTender);
}

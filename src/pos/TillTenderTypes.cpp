#include "pos/TillTenderTypes.h"

#include "pos/TenderTexts.h"

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

bool TenderTypeNameTaken(const QString& name, const std::vector<TenderType>& types)
{
    if (name.isEmpty())
        return true;
    for (const TenderType& type : types)
        if (type.code.compare(name, Qt::CaseInsensitive) == 0
            || TenderTypeCaption(type.code).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

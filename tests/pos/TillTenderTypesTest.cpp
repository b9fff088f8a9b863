#include "pos/TillTenderTypes.h"

#include <gtest/gtest.h>

// The payment types the till works with, out of the shop's list.

namespace {

TenderType Type(const QString& code, bool enabled)
{
    return TenderType{code, code, enabled, false, false};
}

QStringList Codes(const std::vector<TenderType>& types)
{
    QStringList codes;
    for (const TenderType& type : types)
        codes << type.code;
    return codes;
}

TEST(TillTenderTypes, TheTillListsEveryTypeButAccountAndOffersCashFirstThenTheEnabledOthers)
{
    struct Case
    {
        const char* name;
        std::vector<TenderType> types;
        QStringList till;
        QStringList offered;
        bool takesCards;
    };
    const Case cases[] = {
        {"as delivered",
         {Type(kCashTender, true), Type(kCardTender, true), Type(kAccountTender, true)},
         {kCashTender, kCardTender},
         {kCashTender, kCardTender},
         true},
        {"cards switched off, a voucher of the shop's own",
         {Type(kCashTender, true), Type(kCardTender, false), Type(kAccountTender, true), Type("Voucher", true)},
         {kCashTender, kCardTender, "Voucher"},
         {kCashTender, "Voucher"},
         false},
        {"cash listed after the others, a switched-off type",
         {Type(kCardTender, true), Type("Mobile", false), Type(kCashTender, true), Type("Voucher", true)},
         {kCardTender, "Mobile", kCashTender, "Voucher"},
         {kCashTender, kCardTender, "Voucher"},
         true},
        {"the types could not be read", {}, {}, {kCashTender}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Codes(TillTenderTypes(c.types)), c.till);
        EXPECT_EQ(OfferedTenderTypes(c.types), c.offered);
        EXPECT_EQ(TakesCards(c.types), c.takesCards);
    }
}

TEST(TillTenderTypes, ANewTypeIsRefusedWhenItsNameIsEmptyOrAnyTypesCodeOrCaptionInAnyCase)
{
    const std::vector<TenderType> types{Type(kCashTender, true), Type(kCardTender, false),
                                        Type(kAccountTender, true), Type("Voucher", true)};
    for (const char* name : {"", "cash", "CARD", "account", "vOUCHER"})
        EXPECT_TRUE(TenderTypeNameTaken(QString::fromLatin1(name), types)) << name;
    for (const char* name : {"Mobile", "Cash card", "Vouchers"})
        EXPECT_FALSE(TenderTypeNameTaken(QString::fromLatin1(name), types)) << name;
    EXPECT_FALSE(TenderTypeNameTaken(QStringLiteral("Cash"), {}));
}

} // namespace

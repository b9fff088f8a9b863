#include "pos/Payment.h"

#include "store/TenderTypesTable.h"

#include <algorithm>

Payment Payment::cash(std::optional<qint64> handedCents)
{
    Payment payment(Kind::Cash);
    payment.m_handedCents = handedCents;
    return payment;
}

Payment Payment::card()
{
    return Payment(Kind::Card);
}

Payment Payment::split(std::vector<TenderRow> tenders)
{
    Payment payment(Kind::Split);
    payment.m_tenders = std::move(tenders);
    return payment;
}

Payment Payment::onAccount(CreditCustomer customer)
{
    Payment payment(Kind::Account);
    payment.m_account = std::move(customer);
    return payment;
}

bool Payment::takesCash() const
{
    switch (m_kind) {
    case Kind::Cash: return true;
    case Kind::Split:
        return std::any_of(m_tenders.begin(), m_tenders.end(), [](const TenderRow& tender) {
            return tender.type == kCashTender && (tender.amountCents != 0 || tender.handedCents.value_or(0) != 0);
        });
    case Kind::Card:
    case Kind::Account: return false;
    }
    return false;
}

std::vector<TenderRow> Payment::tendersFor(qint64 totalCents) const
{
    switch (m_kind) {
    case Kind::Cash: {
        TenderRow cash{kCashTender, totalCents, std::nullopt, std::nullopt};
        if (m_handedCents && *m_handedCents >= totalCents && totalCents >= 0) {
            cash.handedCents = m_handedCents;
            cash.changeCents = *m_handedCents - totalCents;
        }
        return {cash};
    }
    case Kind::Card: return {{kCardTender, totalCents, std::nullopt, std::nullopt}};
    case Kind::Split: return m_tenders;
    case Kind::Account: return {{kAccountTender, totalCents, std::nullopt, std::nullopt}};
    }
    return {};
}

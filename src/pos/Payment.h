#pragma once

#include "store/TendersTable.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The customer a sale on account is written to.
struct CreditCustomer
{
    qint64 id = 0;
    QString name;
};

// How a sale is settled: paid at the till (in cash, by card, or split between payment types), or on account to a
// customer. Its tenders say what each payment type paid of the total.
class Payment
{
public:
    // Cash for the total. What the customer handed over is kept (with the change) when it was typed and covers
    // the total.
    static Payment cash(std::optional<qint64> handedCents = std::nullopt);
    // The card for the total: no change, no cash drawer.
    static Payment card();
    // Tenders worked out for the total beforehand (the Payment window); they add up to it.
    static Payment split(std::vector<TenderRow> tenders);
    static Payment onAccount(CreditCustomer customer);

    // Paid at the till: stored as paid lines under a receipt number, which every paid sale takes. A sale on
    // account takes a receipt number only for a receipt the cashier asked for.
    bool paid() const { return !m_account; }
    // Cash changes hands: the cash drawer opens.
    bool takesCash() const;
    const std::optional<CreditCustomer>& account() const { return m_account; }
    // The tenders of a sale with this total, in order.
    std::vector<TenderRow> tendersFor(qint64 totalCents) const;

private:
    enum class Kind { Cash, Card, Split, Account };
    explicit Payment(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    std::optional<qint64> m_handedCents;
    std::vector<TenderRow> m_tenders;
    std::optional<CreditCustomer> m_account;
};

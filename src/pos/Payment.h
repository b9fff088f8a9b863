#pragma once

#include <QString>
#include <optional>
#include <utility>

// The customer a sale on account is written to.
struct CreditCustomer
{
    qint64 id = 0;
    QString name;
};

// How a sale is settled: paid in cash, or on account to a customer.
class Payment
{
public:
    static Payment cash() { return Payment(true, std::nullopt); }
    static Payment onAccount(CreditCustomer customer) { return Payment(false, std::move(customer)); }

    // Paid at the till: stored as paid lines under a receipt number, which every paid sale takes. A sale on
    // account takes a receipt number only for a receipt the cashier asked for.
    bool paid() const { return !m_account; }
    // Cash changes hands: the cash drawer opens.
    bool takesCash() const { return m_takesCash; }
    const std::optional<CreditCustomer>& account() const { return m_account; }

private:
    Payment(bool takesCash, std::optional<CreditCustomer> account)
        : m_takesCash(takesCash)
        , m_account(std::move(account))
    {
    }

    bool m_takesCash;
    std::optional<CreditCustomer> m_account;
};

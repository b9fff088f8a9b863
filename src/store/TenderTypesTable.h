#pragma once

#include "store/Database.h"

#include <QString>
#include <optional>
#include <vector>

// The codes of the built-in payment types.
inline const QString kCashTender = QStringLiteral("Cash");
inline const QString kCardTender = QStringLiteral("Card");
inline const QString kAccountTender = QStringLiteral("Account"); // a sale on account; not offered at the till

// One row of tender_types: a payment type of the shop.
struct TenderType
{
    QString code; // what tenders store; a shop's own type has its name as its code
    QString name; // the built-in types' names are English and shown translated
    bool enabled = true;
    bool builtIn = false;
    bool used = false; // a tender of it is stored: it stays for good
};

// Every statement on tender_types. A type can be switched off and on; one that was used (or a built-in one) is
// never removed, and the database refuses it. Failures are reported by the database's error reporter.
class TenderTypesTable
{
public:
    explicit TenderTypesTable(Database& db) : m_db(db) {}

    // Every type in the order it was added; nothing when the lookup failed.
    std::optional<std::vector<TenderType>> all();
    // Adds an enabled type of the shop's own, named (and coded) as given, after the others.
    bool add(const QString& name);
    bool setEnabled(const QString& code, bool enabled);
    // Removes a type of the shop's own that no tender used.
    bool remove(const QString& code);

private:
    Database& m_db;
};

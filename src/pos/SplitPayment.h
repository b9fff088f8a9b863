#pragma once

#include "pos/SaleLine.h"
#include "store/TendersTable.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The arithmetic of a payment split between payment types: an amount per type, what remains to be paid and the
// change. Only cash may go beyond what remains and give change; any other type pays at most what is left of the
// total. The sale can be completed when every amount is readable, nothing remains and the total is above zero.
class SplitPayment
{
public:
    // The types in the order they are offered; the Cash type among them is the one that gives change.
    SplitPayment(qint64 totalCents, QStringList typeCodes);

    // The total a sale's split is for: the total its record will have (RecordAmountsOf). A sale whose amounts do
    // not fit in whole cents can be neither recorded nor split: AppError "The amounts of this sale are too large
    // to be recorded."
    static qint64 totalCentsOf(const std::vector<SaleLine>& lines);

    // What the cashier typed for a type: an amount with a point and at most two decimals, or nothing. False when
    // the text is no such amount (it then counts as nothing, and the sale cannot be completed until it is).
    bool setAmountText(const QString& typeCode, const QString& text);

    qint64 totalCents() const { return m_totalCents; }
    // What is still to be paid; negative when the other types together pay more than the total.
    qint64 remainingCents() const;
    qint64 changeCents() const;
    bool canComplete() const;
    // The tenders of the types that pay something, in the order of the types: cash pays what it covers of the
    // total, and keeps what was handed over and the change.
    std::vector<TenderRow> tenders() const;

    const QStringList& typeCodes() const { return m_codes; }

private:
    qint64 cashCents() const;
    qint64 othersCents() const;

    qint64 m_totalCents;
    QStringList m_codes;
    std::vector<std::optional<qint64>> m_amounts; // none for text that is no amount
};

#include "pos/SplitPayment.h"

#include "core/AppError.h"
#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/RecordAmounts.h"
#include "store/TenderTypesTable.h"

#include <algorithm>

SplitPayment::SplitPayment(qint64 totalCents, QStringList typeCodes)
    : m_totalCents(totalCents)
    , m_codes(std::move(typeCodes))
    , m_amounts(size_t(m_codes.size()), qint64(0))
{
}

qint64 SplitPayment::totalCentsOf(const std::vector<SaleLine>& lines)
{
    const std::optional<RecordAmounts> amounts = RecordAmountsOf(lines);
    if (!amounts)
        throw AppError(TranslateText("The amounts of this sale are too large to be recorded."));
    return amounts->totalCents;
}

bool SplitPayment::setAmountText(const QString& typeCode, const QString& text)
{
    const qsizetype index = m_codes.indexOf(typeCode);
    if (index < 0)
        return false;
    std::optional<qint64>& amount = m_amounts[size_t(index)];
    amount = text.trimmed().isEmpty() ? std::optional<qint64>(0) : ReadAmountCents(text);
    return amount.has_value();
}

qint64 SplitPayment::cashCents() const
{
    const qsizetype index = m_codes.indexOf(kCashTender);
    return index < 0 ? 0 : m_amounts[size_t(index)].value_or(0);
}

qint64 SplitPayment::othersCents() const
{
    qint64 sum = 0;
    for (qsizetype i = 0; i < m_codes.size(); ++i)
        if (m_codes[i] != kCashTender)
            sum += m_amounts[size_t(i)].value_or(0);
    return sum;
}

qint64 SplitPayment::remainingCents() const
{
    const qint64 dueAfterOthers = m_totalCents - othersCents();
    if (dueAfterOthers < 0)
        return dueAfterOthers - cashCents();
    return std::max<qint64>(0, dueAfterOthers - cashCents());
}

qint64 SplitPayment::changeCents() const
{
    const qint64 dueAfterOthers = m_totalCents - othersCents();
    if (dueAfterOthers < 0)
        return 0;
    return std::max<qint64>(0, cashCents() - dueAfterOthers);
}

bool SplitPayment::canComplete() const
{
    const bool allRead = std::all_of(m_amounts.begin(), m_amounts.end(),
                                     [](const std::optional<qint64>& amount) { return amount.has_value(); });
    return allRead && m_totalCents > 0 && othersCents() <= m_totalCents && remainingCents() == 0;
}

std::vector<TenderRow> SplitPayment::tenders() const
{
    std::vector<TenderRow> tenders;
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        const qint64 amount = m_amounts[size_t(i)].value_or(0);
        if (m_codes[i] != kCashTender) {
            if (amount > 0)
                tenders.push_back({m_codes[i], amount, std::nullopt, std::nullopt});
            continue;
        }
        const qint64 change = changeCents();
        if (amount - change > 0)
            tenders.push_back({kCashTender, amount - change, amount, change});
    }
    return tenders;
}

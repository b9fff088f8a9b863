#include "store/TendersTable.h"

#include "store/TableRows.h"

bool TendersTable::insert(const QString& saleId, const std::vector<TenderRow>& tenders)
{
    int position = 0;
    for (const TenderRow& tender : tenders) {
        if (!m_db.ExecuteDirect(QStringLiteral("INSERT INTO tenders (sale_id, position, tender_type, amount_cents, "
                                               "handed_cents, change_cents) VALUES (?,?,?,?,?,?);"),
                                {saleId, ++position, tender.type, tender.amountCents, IntegerOrNull(tender.handedCents),
                                 IntegerOrNull(tender.changeCents)}))
            return false;
    }
    return true;
}

namespace {

const QString kTenderColumns = QStringLiteral("sale_id, tender_type, amount_cents, handed_cents, change_cents");

TenderRow TenderOf(const QueryResult& found, size_t row)
{
    return {found.text(row, QStringLiteral("tender_type")), found.value(row, QStringLiteral("amount_cents")).asInteger(),
            OptionalInteger(found.value(row, QStringLiteral("handed_cents"))),
            OptionalInteger(found.value(row, QStringLiteral("change_cents")))};
}

} // namespace

std::optional<std::vector<TenderRow>> TendersTable::of(const QString& saleId)
{
    const QueryResult found = m_db.Query(
        QStringLiteral("SELECT %1 FROM tenders WHERE sale_id = ? ORDER BY position, id;").arg(kTenderColumns),
        {saleId});
    if (!found.ok)
        return std::nullopt;
    std::vector<TenderRow> tenders;
    for (size_t i = 0; i < found.size(); ++i)
        tenders.push_back(TenderOf(found, i));
    return tenders;
}

std::optional<QHash<QString, std::vector<TenderRow>>> TendersTable::ofRecords(const QStringList& saleIds)
{
    QHash<QString, std::vector<TenderRow>> tenders;
    if (saleIds.isEmpty())
        return tenders;
    const QueryResult found = m_db.Query(QStringLiteral("SELECT %1 FROM tenders WHERE sale_id IN (%2) "
                                                        "ORDER BY sale_id, position, id;")
                                             .arg(kTenderColumns, Placeholders(size_t(saleIds.size()))),
                                         std::vector<QVariant>(saleIds.begin(), saleIds.end()));
    if (!found.ok)
        return std::nullopt;
    for (size_t i = 0; i < found.size(); ++i)
        tenders[found.text(i, QStringLiteral("sale_id"))].push_back(TenderOf(found, i));
    return tenders;
}

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

std::optional<std::vector<TenderRow>> TendersTable::of(const QString& saleId)
{
    const QueryResult found = m_db.Query(QStringLiteral("SELECT tender_type, amount_cents, handed_cents, change_cents "
                                                        "FROM tenders WHERE sale_id = ? ORDER BY position, id;"),
                                         {saleId});
    if (!found.ok)
        return std::nullopt;
    std::vector<TenderRow> tenders;
    for (size_t i = 0; i < found.size(); ++i)
        tenders.push_back({found.text(i, QStringLiteral("tender_type")),
                           found.value(i, QStringLiteral("amount_cents")).asInteger(),
                           OptionalInteger(found.value(i, QStringLiteral("handed_cents"))),
                           OptionalInteger(found.value(i, QStringLiteral("change_cents")))});
    return tenders;
}

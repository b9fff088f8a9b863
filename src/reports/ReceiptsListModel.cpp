#include "reports/ReceiptsListModel.h"

#include "pos/Money.h"
#include "pos/Refund.h"
#include "pos/TenderTexts.h"
#include "reports/RecordTexts.h"
#include "store/CreditLinesTable.h"
#include "store/PaymentsTable.h"

#include <QScopedValueRollback>

std::optional<std::vector<ListedReceipt>> ReadReceiptsPage(Database& db, const SaleRecordFilter& filter,
                                                           const std::optional<SaleRecordPlace>& after, int limit)
{
    const std::optional<std::vector<StoredSaleRecord>> records = SaleRecordsTable(db).page(filter, after, limit);
    if (!records)
        return std::nullopt;
    QStringList saleIds;
    saleIds.reserve(qsizetype(records->size()));
    for (const StoredSaleRecord& stored : *records)
        saleIds << stored.record.saleId;
    std::optional<QHash<QString, std::vector<TenderRow>>> tenders = TendersTable(db).ofRecords(saleIds);
    if (!tenders)
        return std::nullopt;
    QHash<QString, std::optional<qint64>> receiptNumbers;
    for (const StoredSaleRecord& stored : *records)
        receiptNumbers.insert(stored.record.saleId, stored.record.receiptNumber);
    std::vector<ListedReceipt> page;
    page.reserve(records->size());
    for (const StoredSaleRecord& stored : *records) {
        ListedReceipt listed{stored, tenders->take(stored.record.saleId), std::nullopt};
        const QString& original = stored.record.originalSaleId;
        if (!original.isEmpty()) {
            // Refunds are few; the original is often on the same page.
            if (!receiptNumbers.contains(original)) {
                const std::optional<SaleRecordRow> found = SaleRecordsTable(db).withSaleId(original);
                receiptNumbers.insert(original, found ? found->receiptNumber : std::nullopt);
            }
            listed.originalReceiptNumber = receiptNumbers.value(original);
        }
        page.push_back(std::move(listed));
    }
    return page;
}

SaleRecordPlace PlaceAfter(const ListedReceipt& receipt)
{
    return {receipt.stored.record.recordedAt, receipt.stored.id};
}

std::vector<RecordLine> ReadRecordLines(Database& db, const SaleRecordRow& record)
{
    std::vector<RecordLine> lines;
    for (const auto& found : {PaymentsTable(db).linesOfRecord(record.saleId),
                              CreditLinesTable(db).linesOfRecord(record.saleId)})
        if (found)
            lines.insert(lines.end(), found->begin(), found->end());
    return lines;
}

std::vector<qint64> ReadRefundedQuantities(Database& db, const SaleRecordRow& record)
{
    if (record.kind != SaleRecordKind::Sale)
        return {};
    const std::optional<RefundableSale> sale = ReadRefundableSale(db, record.saleId);
    if (!sale)
        return {};
    std::vector<qint64> refunded;
    refunded.reserve(sale->lines.size());
    for (const RefundableLine& line : sale->lines)
        refunded.push_back(line.refunded);
    return refunded;
}

ReceiptsListModel::ReceiptsListModel(Database& db, QObject* parent) : QAbstractTableModel(parent), m_db(db) {}

void ReceiptsListModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ReceiptsListModel::setFilter(const SaleRecordFilter& filter)
{
    std::optional<std::vector<ListedReceipt>> page = ReadReceiptsPage(m_db, filter, std::nullopt, kPageSize);
    beginResetModel();
    m_filter = filter;
    m_rows = page ? std::move(*page) : std::vector<ListedReceipt>();
    m_more = page && m_rows.size() == size_t(kPageSize);
    endResetModel();
}

bool ReceiptsListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_more && !m_fetching;
}

void ReceiptsListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    // Whoever listens to the insertion may ask for more meanwhile; the page after this one waits for it.
    const QScopedValueRollback<bool> fetching(m_fetching, true);
    std::optional<std::vector<ListedReceipt>> page =
        ReadReceiptsPage(m_db, m_filter, PlaceAfter(m_rows.back()), kPageSize);
    // A page that cannot be read (reported) ends the list rather than being asked for again at every scroll.
    m_more = page && page->size() == size_t(kPageSize);
    if (!page || page->empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(page->size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(page->begin()), std::make_move_iterator(page->end()));
    endInsertRows();
}

QString ReceiptsListModel::text(int row, int column) const
{
    const ListedReceipt& receipt = m_rows[size_t(row)];
    const SaleRecordRow& record = receipt.stored.record;
    switch (column) {
    case Time: return record.recordedAt;
    case Till: return record.till;
    case Receipt: return RecordReceiptText(record.receiptNumber);
    case Customer: return record.customerName;
    case Tenders: return RecordTendersText(receipt.tenders, TenderTypeCaption);
    case Total: return CentsText(record.totalCents);
    case Kind: return RecordKindCaption(record.kind);
    case Original: return RecordOriginalText(record, receipt.originalReceiptNumber);
    default: return QString();
    }
}

int ReceiptsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReceiptsListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReceiptsListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == Receipt || index.column() == Total || index.column() == Original))
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant ReceiptsListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section < m_titles.size() ? QVariant(m_titles.at(section)) : QVariant();
}

#pragma once

#include "store/SaleRecordsTable.h"
#include "store/TendersTable.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

class Database;

// A record as the receipts list holds it: the stored record and its tenders, and for a refund of a receipt the
// number of the receipt it gives back.
struct ListedReceipt
{
    StoredSaleRecord stored;
    std::vector<TenderRow> tenders;
    std::optional<qint64> originalReceiptNumber;
};

// The next page of the filter's records, newest first, after the place given (from the newest without one), each
// with its tenders: two lookups, whatever the size of the shop, and one more for each refund whose original is not
// on the page. Nothing when a lookup failed (reported).
std::optional<std::vector<ListedReceipt>> ReadReceiptsPage(Database& db, const SaleRecordFilter& filter,
                                                           const std::optional<SaleRecordPlace>& after, int limit);

// Where the next page after the receipt starts.
SaleRecordPlace PlaceAfter(const ListedReceipt& receipt);

// The lines of a record: its paid lines, then its lines on account, each in the order they were added. A lookup
// that failed (reported) adds none.
std::vector<RecordLine> ReadRecordLines(Database& db, const SaleRecordRow& record);
// What refunds gave back of each of a sale's lines (ReadRecordLines), in the same order; empty for a record that is
// no sale, or when the lines could not be matched or read (reported).
std::vector<qint64> ReadRefundedQuantities(Database& db, const SaleRecordRow& record);

// The receipts list: the records of a filter, newest first. It reads a page when the filter is set and one more
// each time the view scrolls to its end (fetchMore), so a long range costs only the pages looked at.
class ReceiptsListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Till, Receipt, Customer, Tenders, Total, Kind, Original, ColumnCount };
    static constexpr int kPageSize = 100;

    explicit ReceiptsListModel(Database& db, QObject* parent = nullptr);

    void setTitles(const QStringList& titles);
    // Shows the first page of the filter's records; an empty list when it could not be read (reported).
    void setFilter(const SaleRecordFilter& filter);
    const SaleRecordFilter& filter() const { return m_filter; }

    const ListedReceipt& receipt(int row) const { return m_rows[size_t(row)]; }
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    Database& m_db;
    QStringList m_titles;
    SaleRecordFilter m_filter;
    std::vector<ListedReceipt> m_rows;
    bool m_more = false; // the last page was full (so there are rows): there may be more records
    bool m_fetching = false;
};

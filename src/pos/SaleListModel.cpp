#include "pos/SaleListModel.h"

#include "pos/Money.h"
#include "pos/MoneySum.h"
#include "pos/SaleTotals.h"
#include "store/ProductsTable.h"

SaleListModel::SaleListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SaleListModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool SaleListModel::addByBarcode(Database& db, const QString& barcode, qint64 quantity)
{
    const std::optional<std::vector<ProductRecord>> products = ProductsTable(db).withBarcode(barcode);
    if (!products)
        return false;
    struct Found
    {
        QString barcode;
        QString name;
        double price;
    };
    std::vector<Found> found;
    for (const ProductRecord& product : *products) {
        double price = product.price.asDouble();
        if (product.price.raw().typeId() == QMetaType::QString)
            price = ReadNumber(product.price.asText());
        found.push_back({product.barcode, product.name, price});
    }
    for (const Found& product : found) {
        const int row = rowOfBarcode(product.barcode);
        if (row >= 0)
            setQuantity(row, ReadIntegerOr(cell(row, Quantity), 1) + quantity);
        else
            appendLine(product.barcode, product.name, product.price, quantity);
    }
    return !found.empty();
}

void SaleListModel::appendLine(const QString& barcode, const QString& name, double unitPrice, qint64 quantity)
{
    const LineCells cells = ComputeLineCells(unitPrice, quantity, m_discountRate);
    const int row = int(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back({barcode, name, cells.price, cells.quantity, cells.total, cells.discountedPrice,
                      cells.discountedTotal});
    endInsertRows();
}

int SaleListModel::rowOfBarcode(const QString& barcode) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i][Barcode] == barcode)
            return int(i);
    return -1;
}

void SaleListModel::setQuantity(int row, qint64 quantity)
{
    if (row < 0 || row >= rowCount())
        return;
    Row& cells = m_rows[size_t(row)];
    const LineCells computed = ComputeLineCells(ReadNumber(cells[Price]), quantity, m_discountRate);
    cells[Quantity] = QString::number(quantity);
    cells[Total] = computed.total;
    if (m_discountRate != 0) {
        cells[DiscountedPrice] = computed.discountedPrice;
        cells[DiscountedTotal] = computed.discountedTotal;
    }
    rowChanged(row);
}

void SaleListModel::removeLine(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void SaleListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_discountRate = 0;
    endResetModel();
}

void SaleListModel::setDiscountRate(double rate)
{
    m_discountRate = rate;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Row& cells = m_rows[i];
        if (rate != 0) {
            const double discounted = ::DiscountedPrice(ReadNumber(cells[Price]), rate);
            cells[DiscountedPrice] = MoneyText(discounted);
            cells[DiscountedTotal] = MoneyText(ReadNumber(cells[Quantity]) * discounted);
        } else {
            cells[DiscountedPrice].clear();
            cells[DiscountedTotal].clear();
        }
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, DiscountedPrice), index(rowCount() - 1, DiscountedTotal));
}

MoneySum SaleListModel::grandTotal() const
{
    const Column column = m_discountRate != 0 ? DiscountedTotal : Total;
    MoneySum sum;
    for (const Row& cells : m_rows)
        sum.add(cells[column]);
    return sum;
}

std::vector<SaleLine> SaleListModel::saleLines() const
{
    std::vector<SaleLine> lines;
    lines.reserve(m_rows.size());
    for (const Row& cells : m_rows)
        lines.push_back({cells[Barcode], cells[Product], ReadIntegerOr(cells[Quantity], 0),
                         cells[m_discountRate != 0 ? DiscountedPrice : Price]});
    return lines;
}

int SaleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SaleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaleListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_rows[size_t(index.row())][index.column()];
}

QVariant SaleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_titles.size())
        return {};
    return m_titles.at(section);
}

void SaleListModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

#include "pos/SaleListModel.h"

#include "pos/Sale.h"

SaleListModel::SaleListModel(Sale& sale, QObject* parent) : QAbstractTableModel(parent), m_sale(sale)
{
    m_sale.setObserver(this);
}

SaleListModel::~SaleListModel()
{
    m_sale.setObserver(nullptr);
}

void SaleListModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

QString SaleListModel::cell(int row, Column column) const
{
    const Sale::Line& line = m_sale.line(row);
    switch (column) {
    case Barcode: return line.barcode;
    case Product: return line.name;
    case Price: return line.unitPrice.text();
    case Quantity: return QString::number(line.quantity);
    case Total: return line.total.text();
    case DiscountedPrice: return line.discountedPrice ? line.discountedPrice->text() : QString();
    case DiscountedTotal: return line.discountedTotal ? line.discountedTotal->text() : QString();
    case ColumnCount: break;
    }
    return QString();
}

int SaleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_sale.lineCount();
}

int SaleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaleListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return cell(index.row(), Column(index.column()));
}

QVariant SaleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_titles.size())
        return {};
    return m_titles.at(section);
}

void SaleListModel::lineAboutToBeAdded(int row)
{
    beginInsertRows(QModelIndex(), row, row);
}

void SaleListModel::lineAdded(int)
{
    endInsertRows();
}

void SaleListModel::linesChanged(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void SaleListModel::lineAboutToBeRemoved(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
}

void SaleListModel::lineRemoved(int)
{
    endRemoveRows();
}

void SaleListModel::aboutToBeCleared()
{
    beginResetModel();
}

void SaleListModel::cleared()
{
    endResetModel();
}

#include "reports/TextTableModel.h"

#include <algorithm>
#include <numeric>

TextTableModel::TextTableModel(int columns, QObject* parent) : QAbstractTableModel(parent), m_columns(columns) {}

void TextTableModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void TextTableModel::setCells(std::vector<QString> cells)
{
    beginResetModel();
    m_cells = std::move(cells);
    m_cells.resize(m_cells.size() - m_cells.size() % size_t(m_columns));
    endResetModel();
}

void TextTableModel::clear()
{
    setCells({});
}

QStringList TextTableModel::rowTexts(int row) const
{
    QStringList texts;
    texts.reserve(m_columns);
    for (int column = 0; column < m_columns; ++column)
        texts << text(row, column);
    return texts;
}

void TextTableModel::sortRows(const std::function<bool(int, int)>& less)
{
    const int rows = rowCount();
    std::vector<int> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<QString> sorted;
    sorted.reserve(m_cells.size());
    std::vector<int> newRowOf(static_cast<size_t>(rows));
    for (int newRow = 0; newRow < rows; ++newRow) {
        const int row = order[size_t(newRow)];
        newRowOf[size_t(row)] = newRow;
        for (int column = 0; column < m_columns; ++column)
            sorted.push_back(std::move(m_cells[size_t(row) * size_t(m_columns) + size_t(column)]));
    }
    m_cells = std::move(sorted);
    // The selected and current rows move with their contents.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << createIndex(newRowOf[size_t(index.row())], index.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TextTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_cells.size() / size_t(m_columns));
}

int TextTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() || index.column() >= m_columns)
        return {};
    return text(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section < m_titles.size() ? QVariant(m_titles.at(section)) : QVariant();
}

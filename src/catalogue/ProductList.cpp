#include "catalogue/ProductList.h"

#include "store/ProductsTable.h"

#include <algorithm>

bool LoadProductList(Database& db, const QString& searchText, bool withPrices, std::vector<ProductListItem>& items,
                     QString& readError)
{
    items.clear();
    readError.clear();
    const QString text = searchText.trimmed();
    // The rows are sorted here by caption, so the engine need not sort them first.
    Statement query = ProductsTable(db).pickerRows(text);
    if (!query.isValid())
        return false;
    while (query.next()) {
        ProductListItem item;
        item.barcode = query.text(0);
        item.caption = query.text(1);
        if (withPrices)
            item.caption += QStringLiteral(" [") + query.text(2) + QLatin1Char(']');
        items.push_back(std::move(item));
    }
    if (!query.error().isEmpty()) {
        items.clear();
        readError = query.error();
        return false;
    }
    // Without regard to letter case first.
    std::stable_sort(items.begin(), items.end(), [](const ProductListItem& a, const ProductListItem& b) {
        const int folded = a.caption.compare(b.caption, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.caption < b.caption;
    });
    return true;
}

ProductListModel::ProductListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void ProductListModel::setItems(std::vector<ProductListItem> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

int ProductListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant ProductListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_items.size()))
        return {};
    const ProductListItem& item = m_items[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.caption;
    case Qt::DecorationRole:
        return m_icon;
    case BarcodeRole:
        return item.barcode;
    default:
        return {};
    }
}

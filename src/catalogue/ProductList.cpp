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
    SortByCaption(items);
    return true;
}

QString CaseFoldedKey(const QString& text)
{
    // Folded one code point at a time and compared as UTF-16 units: the way QString::compare(...,
    // Qt::CaseInsensitive) compares, so both give the same order. A pair keeps its length when folded.
    QString key(text.size(), Qt::Uninitialized);
    QChar* out = key.data();
    const QChar* in = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = in[i].unicode();
        if (unit < 0x80) {
            out[i] = QChar(unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size && in[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, in[i + 1].unicode()));
            out[i] = QChar(QChar::highSurrogate(folded));
            out[++i] = QChar(QChar::lowSurrogate(folded));
        } else {
            out[i] = QChar(QChar::toCaseFolded(unit));
        }
    }
    return key;
}

void SortByCaption(std::vector<ProductListItem>& items)
{
    // Each caption is folded once rather than in every comparison, which took a third of a search that finds
    // ten thousand products.
    struct Entry
    {
        QString key;
        size_t index;
    };
    std::vector<Entry> entries;
    entries.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        entries.push_back({CaseFoldedKey(items[i].caption), i});
    std::stable_sort(entries.begin(), entries.end(), [&items](const Entry& a, const Entry& b) {
        const int folded = QString::compare(a.key, b.key);
        return folded != 0 ? folded < 0 : items[a.index].caption < items[b.index].caption;
    });
    std::vector<ProductListItem> sorted;
    sorted.reserve(items.size());
    for (const Entry& entry : entries)
        sorted.push_back(std::move(items[entry.index]));
    items = std::move(sorted);
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

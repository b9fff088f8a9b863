#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QString>
#include <vector>

class Database;

// One product of the picker: what the list shows and the barcode it hands back.
struct ProductListItem
{
    QString caption;
    QString barcode;
};

// The products whose name or barcode contains the text (every product for a blank text), captioned by name,
// with " [price]" added when asked, and sorted by caption. False, with an empty list, when the query failed: a
// statement that could not be prepared has been reported by the database already, a failure while reading
// rows is left in readError for the caller to show.
bool LoadProductList(Database& db, const QString& searchText, bool withPrices, std::vector<ProductListItem>& items,
                     QString& readError);

// Sorts by caption without regard to letter case first, then with it; equal captions keep their order.
void SortByCaption(std::vector<ProductListItem>& items);
// The text folded to one case so that comparing keys orders as QString::compare(..., Qt::CaseInsensitive) does.
QString CaseFoldedKey(const QString& text);

// The picker's items for a QListView: the caption as display text, the same icon for each, the barcode under
// BarcodeRole.
class ProductListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { BarcodeRole = Qt::UserRole + 1 };

    explicit ProductListModel(QObject* parent = nullptr);
    void setItems(std::vector<ProductListItem> items);
    void setIcon(const QIcon& icon) { m_icon = icon; }
    const ProductListItem& item(int row) const { return m_items[size_t(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<ProductListItem> m_items;
    QIcon m_icon;
};

#pragma once

#include "pos/SaleObserver.h"

#include <QAbstractTableModel>
#include <QStringList>

class Sale;

// The sale list: a view of a sale, one row per line with its seven cells as the cashier reads them. It keeps no
// copy of the lines; the texts are made from the sale's cents when asked for.
class SaleListModel : public QAbstractTableModel, private SaleObserver
{
    Q_OBJECT

public:
    enum Column { Barcode, Product, Price, Quantity, Total, DiscountedPrice, DiscountedTotal, ColumnCount };

    // Observes the sale for as long as the model lives.
    explicit SaleListModel(Sale& sale, QObject* parent = nullptr);
    ~SaleListModel() override;

    void setTitles(const QStringList& titles);

    // The text of a cell; the discounted cells are empty while the sale has no discount.
    QString cell(int row, Column column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void lineAboutToBeAdded(int row) override;
    void lineAdded(int row) override;
    void linesChanged(int first, int last) override;
    void lineAboutToBeRemoved(int row) override;
    void lineRemoved(int row) override;
    void aboutToBeCleared() override;
    void cleared() override;

    Sale& m_sale;
    QStringList m_titles;
};

#pragma once

#include "pos/SaleRecorder.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

class Database;
class MoneySum;

// The open sale: one row per product with its seven cells as the cashier reads them. The money cells are money
// text, and later sums read them back from that text, so what is added up is exactly what is shown.
class SaleListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Barcode, Product, Price, Quantity, Total, DiscountedPrice, DiscountedTotal, ColumnCount };

    explicit SaleListModel(QObject* parent = nullptr);

    void setTitles(const QStringList& titles);

    // Looks the barcode up in the products and adds each product found (a new row, or the quantity of its row
    // raised); false when nothing matched or the lookup failed. Every price is read before the list changes,
    // so a product whose price is not a number adds nothing (AppError "'x' is not a valid floating point value").
    bool addByBarcode(Database& db, const QString& barcode, qint64 quantity);
    // Appends a line at a unit price (full precision) and quantity.
    void appendLine(const QString& barcode, const QString& name, double unitPrice, qint64 quantity);
    // The row with this barcode, or -1.
    int rowOfBarcode(const QString& barcode) const;
    // Sets a row's quantity and recomputes its money cells from the price shown.
    void setQuantity(int row, qint64 quantity);
    void removeLine(int row);
    void clear();

    // The discount in percent; setting it recomputes every row's discounted cells (empty again at 0).
    double discountRate() const { return m_discountRate; }
    void setDiscountRate(double rate);

    // The shown line totals (the discounted ones while a discount is set) added up.
    MoneySum grandTotal() const;
    // The lines as a checkout stores them (the discounted price while a discount is set).
    std::vector<SaleLine> saleLines() const;

    QString cell(int row, Column column) const { return m_rows[size_t(row)][column]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    using Row = std::array<QString, ColumnCount>;
    void rowChanged(int row);

    std::vector<Row> m_rows;
    QStringList m_titles;
    double m_discountRate = 0;
};

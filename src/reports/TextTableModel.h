#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

// A read-only list of text rows with a fixed number of columns, for the report windows. The cells are kept in
// one flat vector, so large lists cost one QString per cell and no item objects.
class TextTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TextTableModel(int columns, QObject* parent = nullptr);

    void setTitles(const QStringList& titles);
    // Replaces the rows; cells holds rowCount x columns texts, row after row.
    void setCells(std::vector<QString> cells);
    void clear();

    const QString& text(int row, int column) const { return m_cells[size_t(row) * size_t(m_columns) + size_t(column)]; }
    QStringList rowTexts(int row) const;

    // Reorders the rows; less(a, b) compares two row numbers of the current order. Rows that compare equal keep
    // their order.
    void sortRows(const std::function<bool(int, int)>& less);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int m_columns;
    QStringList m_titles;
    std::vector<QString> m_cells;
};

#pragma once

#include <QDialog>

class CsvFileDialog;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;
class AppContext;
class TextTableModel;

// The stock inventory count sheet: every product with price, stock and record date, most stocked first, sortable
// by any column as text, exported to CSV, and any barcode handed to the barcode generator. Remembers its size,
// maximized state and column widths in the settings.
class TStockSheetForm : public QDialog
{
    Q_OBJECT

public:
    explicit TStockSheetForm(AppContext& context);
    ~TStockSheetForm() override;

    TextTableModel* model() const { return m_model; }
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_descending; }

    void SaveColumnWidths(); // the column-width timer's tick

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Timer1Timer();
    void BitBtn1Click();
    void GenerateBarcodeClick();
    void FormResize();
    void ListView1ColumnClick(int column);

    QTableView* ListView1 = nullptr;
    QMenu* PopupMenu1 = nullptr;    // "Generate Barcode Image"
    QPushButton* BitBtn1 = nullptr; // "Export to File..."
    QPushButton* BitBtn2 = nullptr; // "Generate Barcode Image..."
    QTimer* Timer1 = nullptr;       // fills the list once
    QTimer* Timer2 = nullptr;       // saves the column widths

    AppContext& m_context;
    TextTableModel* m_model = nullptr;
    CsvFileDialog* SaveDialog1 = nullptr;
    int m_sortColumn = 0;
    bool m_descending = false;
};

// "Reports" > "Stock Inventory Count Sheet...": a new window with the remembered geometry, shown modally.
void OpenStockSheetForm(AppContext& context);

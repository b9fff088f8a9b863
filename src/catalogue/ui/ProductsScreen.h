#pragma once

#include "store/Database.h"

#include <QWidget>

class AppContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StockSpinBox;

// The products screen (PanelProduct): one product at a time, chosen by its barcode.
class ProductsScreen : public QWidget
{
    Q_OBJECT

public:
    explicit ProductsScreen(AppContext& context, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened: empty form, barcode list reloaded.
    void prepare();

    // Looks the barcode box's text up and shows the product, or an empty form for a new barcode.
    void ComboBox1Change();
    void BitBtn5Click(); // ADD
    void BitBtn8Click(); // UPDATE
    void BitBtn9Click(); // DELETE PRODUCT

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Trims the name, trims the price and turns its commas into points; true when both make a product.
    bool validEntry();
    void setBarcodeText(const QString& text);
    void showRecordDate(bool visible);
    void setActions(bool add, bool update);
    void focusBarcode();

    AppContext& m_context;
    DbValue m_stockRead; // the shown product's stock as read, which an update must still find
    QLabel* m_barcodeLabel = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_priceLabel = nullptr;

    QComboBox* ComboBox1 = nullptr;  // barcode
    QLineEdit* Edit2 = nullptr;      // name
    QLineEdit* Edit3 = nullptr;      // price
    StockSpinBox* SpinEdit2 = nullptr;
    QLabel* Label6 = nullptr;        // "RECORD DATE:"
    QLineEdit* Edit5 = nullptr;      // record date
    QLabel* Label16 = nullptr;       // "STOCK BALANCE:"
    QPushButton* BitBtn5 = nullptr;  // "ADD"
    QPushButton* BitBtn8 = nullptr;  // "UPDATE"
    QPushButton* BitBtn9 = nullptr;  // "DELETE PRODUCT"
    QPushButton* BitBtn10 = nullptr; // "MAIN MENU"
};

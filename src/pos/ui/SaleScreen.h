#pragma once

#include "pos/Sale.h"
#include "pos/SaleListModel.h"

#include <QString>
#include <optional>
#include <QWidget>

class AppContext;
class QHeaderView;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeView;

// The sale screen (PanelMain): the entry bar, the sale list, the totals bar and the change panel. It holds the
// sale being rung up; the list shows it.
class SaleScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SaleScreen(AppContext& context, QWidget* parent = nullptr);

    // Translated captions, column headers and hints.
    void setCaptions();

    // A barcode read (by the scanner, the barcode box or the product picker): adds every matching product, or
    // raises the quantity of its line, by the quantity; true when a product matched.
    bool BarkodOkundu(const QString& barcode, qint64 quantity = 1);
    // A product chosen in the product picker: added as a scanned barcode is; false when it no longer exists.
    bool pickProduct(const QString& barcode);
    // Sets the quantity of a row, recomputes its money cells and the totals.
    void UrunSayisiGuncelle(qint64 quantity, qint64 row);
    // Appends a line for a product that is not in the database.
    void ManualEkle(const QString& name, qint64 quantity, double unitPrice);
    // Back to add mode (the list's selection is left as it is) and focus on the list.
    void EkleDuzeltSifirla();
    // Totals refresh: grand total, change table, amount tendered, sell buttons.
    void FiyatHesapla();
    // Change for the amount tendered.
    void Edit7Change();
    // The discount dialog.
    void Button1Click();
    // "ADD" / "Edit".
    void BitBtn15Click();
    // "DELETE": removes the edited row.
    void BitBtn16Click();
    // The product list button: focuses the list and opens the product picker.
    void BitBtn22Click();

    // The sale being rung up. A checkout sells it and clears it; the screen follows a cleared sale (empty list,
    // add mode, no discount, the focus on the list).
    Sale& sale() { return m_sale; }
    const Sale& sale() const { return m_sale; }
    // What the cashier typed as the amount tendered for this sale, in cents; none when nothing was typed since
    // the last sale (the box keeps the last sale's text) or the text is no amount.
    std::optional<qint64> amountTendered() const;

    // What has been typed into the sale list since the last lookup; an Enter looks it up.
    const QString& pendingBarcode() const { return m_pendingBarcode; }
    const SaleListModel* saleList() const { return &m_list; }

    // The screen as the program opens on it: a zero total, no change panel, no DELETE button.
    void showEmptySale();
    // Puts the focus on the sale list, where a scanner types.
    void focusList();
    // The sale list's column header, whose widths the main window keeps.
    QHeaderView* listHeader() const;

signals:
    // A refresh found the list empty (false) or holding a sale while the screen shows (true).
    void sellingChanged(bool allowed);

private:
    friend class SaleListView;

    // Keys typed into the focused list: Esc, Backspace, Enter and the characters of a scanned code.
    void ListView1KeyPress(QChar key);
    void ListView1Click();
    void ListView1SelectItem(int row);
    void ListView1Change();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void leaveEditMode();
    // The quantity box's value: text that is not a whole number reads as 1, clamped to the box's range.
    qint64 quantityBoxValue() const;
    // A button's handler: guarded, and the focus back on the list afterwards.
    void clicked(void (SaleScreen::*handler)());
    void showEvent(QShowEvent* event) override;
    // Removes a row and leaves the list with no current or selected row.
    void removeRow(int row);
    // The sale was cleared: the screen as after a completed checkout.
    void saleCleared();

    AppContext& m_context;
    Sale m_sale;
    SaleListModel m_list{m_sale}; // destroyed before the sale it observes
    QString m_pendingBarcode;
    qint64 m_editedRow = 0; // the row "Edit" and "DELETE" act on
    bool m_scrollPending = false;
    bool m_tenderedTyped = false; // Edit7 was typed into since the last sale
    QString m_shownChangeTable; // the text in Memo1

    QTreeView* ListView1 = nullptr;
    QPushButton* BitBtn22 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Image3 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* BitBtn15 = nullptr;
    QPushButton* BitBtn16 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label21 = nullptr;
    QPushButton* Button1 = nullptr;
    QWidget* Panel6 = nullptr;
    QLabel* Label20 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLabel* Label19 = nullptr;
};

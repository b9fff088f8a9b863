#pragma once

#include "pos/Refund.h"

#include <QDialog>

#include <optional>
#include <vector>

class AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "Refund": the lines of a receipt, each with the quantity to refund (0 to what is left of it) and whether it goes
// back to stock, the payment type the money goes back by and a reason. Without a receipt the lines are picked by
// barcode from the products. "Complete Refund" stores the refund and prints its receipt (CompleteRefund).
class RefundWindow : public QDialog
{
    Q_OBJECT

public:
    // A refund of the receipt's lines.
    RefundWindow(AppContext& context, RefundableSale sale);
    // A refund without a receipt (the caller has checked the administrator mode).
    explicit RefundWindow(AppContext& context);
    ~RefundWindow() override;

    void BarcodeEntered();
    void QuantityChange();
    void CompleteRefundClick();

private:
    // One row of the table and the controls the cashier sets on it.
    struct Row
    {
        qint64 lineId = 0;              // the receipt's line; 0 for a product picked by barcode
        UnreferencedRefundLine product; // a product picked by barcode
        QSpinBox* quantity = nullptr;
        QCheckBox* backToStock = nullptr;
    };

    void build(const QStringList& tenderTypes, const QString& defaultTender);
    void addRow(const QString& name, const QString& priceText, const QString& sold, const QString& refunded,
                qint64 most, Row row);
    void updateTabOrder();
    bool eventFilter(QObject* watched, QEvent* event) override;
    RefundRequest request() const;

    QLabel* ReceiptLabel = nullptr;     // which receipt, or that there is none
    QLineEdit* BarcodeEdit = nullptr;   // without a receipt: a product's barcode, added on Enter
    QTableWidget* LinesTable = nullptr;
    QComboBox* TenderCombo = nullptr;   // "Paid back by:" (the type codes as data)
    QLineEdit* ReasonEdit = nullptr;
    QLabel* TotalValue = nullptr;       // what is paid back
    QPushButton* CompleteButton = nullptr;
    QPushButton* CancelButton = nullptr;

    AppContext& m_context;
    std::optional<RefundableSale> m_sale; // none: a refund without a receipt
    std::vector<Row> m_rows;
};

// From the receipts list: the Refund window for the sale record, shown modally. True when a refund was stored.
bool OpenRefundWindow(AppContext& context, const QString& saleId);

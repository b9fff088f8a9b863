#pragma once

#include <QDialog>

#include <optional>

class AppContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Operations > "Refund...": asks which receipt is refunded, its number and, on a shared server, the till that
// printed it (this till first). An empty number is a refund without a receipt.
class RefundStartWindow : public QDialog
{
    Q_OBJECT

public:
    explicit RefundStartWindow(AppContext& context);

    // The receipt number typed; none when the box is empty.
    std::optional<qint64> receiptNumber() const;
    QString till() const;

private:
    QLineEdit* ReceiptNumberEdit = nullptr;
    QComboBox* TillCombo = nullptr; // only on a shared server
    QLabel* HintLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    QString m_till; // this till
};

// Operations > "Refund...": the receipt asked for, then the Refund window for it; without a receipt number, a
// refund without a receipt (administrator mode only). A number without a sale says so.
void RefundCommand(AppContext& context);

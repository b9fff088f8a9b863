#pragma once

#include "pos/SplitPayment.h"

#include <QDialog>
#include <vector>

class AppContext;
class QLabel;
class QLineEdit;
class QPushButton;
class Sale;

// "Payment": the sale's total split between the shop's payment types, an amount box for each, with the total,
// what remains and the change (SplitPayment). "Complete Sale" is enabled once nothing remains and completes the
// sale through the same checkout as the other sell buttons; "Cancel" or Esc closes the window and the sale stays
// on the screen, as it does when nothing could be stored.
class PaymentWindow : public QDialog
{
    Q_OBJECT

public:
    // An amount box for each of the payment types (their codes), in their order.
    PaymentWindow(AppContext& context, Sale& sale, qint64 totalCents, const QStringList& typeCodes);

    // An amount box changed: remaining, change and "Complete Sale" follow.
    void amountChanged();
    void ButtonCompleteClick();

private:
    AppContext& m_context;
    Sale& m_sale;
    SplitPayment m_split;
    std::vector<QLineEdit*> m_amounts; // one per type, in the order of the types

    QLabel* LabelTotalValue = nullptr;
    QLabel* LabelRemainingValue = nullptr;
    QLabel* LabelChangeValue = nullptr;
    QPushButton* ButtonComplete = nullptr;
    QPushButton* ButtonCancel = nullptr;
};

// "SPLIT PAYMENT": shows the Payment window for the sale on the screen, with the enabled payment types the till
// offers (OfferedTenderTypes), and gives the focus back to the sale list.
void SplitPaymentCheckout(AppContext& context, Sale& sale);

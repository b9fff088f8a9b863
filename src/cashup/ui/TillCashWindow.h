#pragma once

#include <QDialog>
#include <QtGlobal>

class AppContext;
class QLineEdit;
class QPushButton;

// An amount of cash counted into or taken from the drawer: the float of "Open Till..." (an amount, zero allowed),
// or "Cash In..." and "Cash Out..." (an amount above zero and the reason). OK is refused, with a message, while
// the amount is not one in whole cents.
class TillCashWindow : public QDialog
{
    Q_OBJECT

public:
    enum class Purpose { Float, CashIn, CashOut };

    TillCashWindow(AppContext& context, Purpose purpose);

    qint64 amountCents() const { return m_amountCents; }
    QString reason() const;

    void OkButtonClick();

private:
    AppContext& m_context;
    Purpose m_purpose;
    qint64 m_amountCents = 0;
    QLineEdit* AmountEdit = nullptr;
    QLineEdit* ReasonEdit = nullptr; // none for the float
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

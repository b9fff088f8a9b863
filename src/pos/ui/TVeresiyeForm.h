#pragma once

#include <QDialog>
#include <QStringList>

class AppContext;
class Sale;
class QComboBox;
class QLabel;
class QPushButton;

// "Sell by Credit": the customer chooser of a credit sale. OK stores the sale as open credit lines of the chosen
// customer and lowers the stock, in one transaction (CompleteSale); a receipt is made only when it is printed.
class TVeresiyeForm : public QDialog
{
    Q_OBJECT

public:
    TVeresiyeForm(AppContext& context, Sale& sale);
    ~TVeresiyeForm() override;

    void BitBtn1Click(); // OK
    void BitBtn2Click(); // Cancel

    // The customers' ids, in the order of the names in ComboBox1.
    QStringList CustomerIds;

private:
    void FormCreate();

    AppContext& m_context;
    Sale& m_sale;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

// "SELL BY CREDIT": shows a new credit window for the sale, modally.
void SellByCredit(AppContext& context, Sale& sale);

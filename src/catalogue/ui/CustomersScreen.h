#pragma once

#include "store/CreditLinesTable.h"

#include <QString>
#include <QWidget>
#include <vector>

class AppContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The customers screen (PanelCustomer): customers who may buy on credit, their open credit and its settlement.
class CustomersScreen : public QWidget
{
    Q_OBJECT

public:
    explicit CustomersScreen(AppContext& context, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened: empty form, customer list reloaded.
    void prepare();

    // Looks the typed name up and totals the customer's open credit.
    void ComboBox2Change();
    void BitBtn6Click();  // ADD
    void BitBtn11Click(); // DELETE CUSTOMER
    void BitBtn13Click(); // DETAILS
    void BitBtn14Click(); // Select All
    void BitBtn7Click();  // PAID

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCustomerText(const QString& text);
    void showCustomerFields(bool visible);
    void showDetails(bool visible);
    void focusCustomer();
    // The payment types a settlement may be paid by: the enabled ones but Account, Cash chosen.
    void fillPaidBy();

    AppContext& m_context;
    QLabel* m_customerLabel = nullptr;
    std::vector<CreditLineRecord> m_lines; // the lines DETAILS listed, in the check list's order

    QComboBox* ComboBox2 = nullptr;      // customer name
    QLabel* Label8 = nullptr;            // "RECORD DATE:"
    QLineEdit* Edit6 = nullptr;          // record date
    QLabel* Label9 = nullptr;            // "CREDIT:"
    QLineEdit* Edit1 = nullptr;          // open credit total
    QPushButton* BitBtn13 = nullptr;     // "DETAILS"
    QPushButton* BitBtn6 = nullptr;      // "ADD"
    QPushButton* BitBtn11 = nullptr;     // "DELETE CUSTOMER"
    QPushButton* BitBtn12 = nullptr;     // "MAIN MENU"
    QLabel* Image2 = nullptr;
    QWidget* Panel10 = nullptr;          // details
    QListWidget* CheckListBox1 = nullptr;
    QLabel* Label11 = nullptr;           // "TOTAL:"
    QLabel* Label10 = nullptr;           // total of the shown lines
    QPushButton* BitBtn14 = nullptr;     // "Select All"
    QPushButton* BitBtn7 = nullptr;      // "PAID"
    QLabel* LabelPaidBy = nullptr;       // "Paid by:"
    QComboBox* ComboBoxPaidBy = nullptr; // the payment type a settlement is paid by, Cash first
};

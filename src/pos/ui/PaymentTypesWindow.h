#pragma once

#include "store/TenderTypesTable.h"

#include <QDialog>
#include <vector>

class AppContext;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Payment Types": the payment types the till offers (Account, which only credit sales use, is not listed). A
// tick switches a type on or off at once; Cash is always on. "Add" adds the type named in the box (a name already
// there, or none, only beeps); "Remove" takes away a type of the shop's own that no sale has used.
class PaymentTypesWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PaymentTypesWindow(AppContext& context);
    static int showModalFor(AppContext& context);

    void ButtonAddClick();
    void ButtonRemoveClick();
    void ListTypesItemChanged(QListWidgetItem* item);

private:
    // Lists the types as stored, keeping the chosen one chosen.
    void load();
    const TenderType* chosenType() const;
    void showChosen();

    AppContext& m_context;
    std::vector<TenderType> m_allTypes; // as read, Account too
    std::vector<TenderType> m_types;    // those listed, in the list's order

    QListWidget* ListTypes = nullptr;
    QLabel* LabelName = nullptr;
    QLineEdit* EditName = nullptr;
    QPushButton* ButtonAdd = nullptr;
    QPushButton* ButtonRemove = nullptr;
    QPushButton* ButtonClose = nullptr;
};

#pragma once

#include <QWidget>

class TAppForm;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The sales history screen (PanelSellings): payments list ListView2 and credits list ListView3.
class SalesHistoryScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SalesHistoryScreen(TAppForm& main, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened.
    void prepare();
    // Fills the customer and product filter lists (once, after the database has been opened).
    void fillFilterLists();

    QTableView* ListView2 = nullptr; // payments
    QTableView* ListView3 = nullptr; // credits
    QMenu* PopupMenu1 = nullptr;     // payments list: "Delete", "Print"
    QMenu* PopupMenu2 = nullptr;     // credits list: "Delete", "Print"
    QPushButton* BitBtn20 = nullptr; // "MAIN MENU"

private:
    TAppForm& m_main;
    QStandardItemModel* m_paymentsModel = nullptr;
    QStandardItemModel* m_creditsModel = nullptr;
};

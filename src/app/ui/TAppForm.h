#pragma once

#include "app/AppContext.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Dialogs;
class Environment;
class QAction;
class QHeaderView;
class QMenu;
class QPushButton;
class QTimer;
class SaleScreen;
class ProductsScreen;
class CustomersScreen;
class SalesHistoryScreen;

class UpdateCheckMonitor;

// The main window: four screens (sale, products, customers, sales history), the sell bar, the navigation bar,
// the main menu and the timers. It owns the context the other windows share.

class TAppForm : public QMainWindow
{
    Q_OBJECT

public:
    TAppForm(Environment& environment, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TAppForm() override;

    AppContext& context() { return m_context; }

    bool ColumnSaveEnabled = false;
    QStringList ThemeNames;
    int ThemeIndex = 0;

    SaleScreen* saleScreen() const { return m_saleScreen; }
    ProductsScreen* productsScreen() const { return m_productsScreen; }
    CustomersScreen* customersScreen() const { return m_customersScreen; }
    SalesHistoryScreen* salesHistoryScreen() const { return m_salesHistoryScreen; }
    QPushButton* sellByCashButton() const { return m_sellByCash; }
    QPushButton* sellByCreditButton() const { return m_sellByCredit; }
    QPushButton* sellByCardButton() const { return m_sellByCard; }
    QPushButton* splitPaymentButton() const { return m_splitPayment; }
    QWidget* sellBar() const { return m_sellBar; }
    QWidget* navigationBar() const { return m_navBar; }
    QAction* action(const QString& objectName) const;

    // Shows the sale screen and refreshes its totals.
    void AnaMenuAc();
    // Opens the product picker over the sale screen.
    void OpenProductPicker();
    void FormResize();
    // Switches the visual style: the first one when Klasik, otherwise the next.
    void ArayuzuDegistir(bool Klasik);
    // Opens and migrates the database (the first timer tick does this once).
    void OpenDatabase();
    // Saves changed column widths and writes the settings file (the column-width timer's tick).
    void SaveColumnWidths();

    QTimer* TimerActivate = nullptr;
    QTimer* TimerPassword = nullptr;
    QTimer* TimerChecker = nullptr;
    QTimer* TimerColumnWidth = nullptr;
    QTimer* TimerCaptionDuzelt = nullptr;
    QTimer* TimerPasswordAdmin = nullptr;

signals:
    // After the database has been opened and migrated (also after a failed open).
    void databaseOpened();

private:
    void FormCreate();
    void buildScreens();
    void buildBars();
    void buildMenus();
    void buildTimers();
    void setCaptions();
    void restoreColumnWidths();
    void showScreen(QWidget* panel);
    QAction* addItem(QMenu* menu, const QString& objectName, const QString& caption, void (TAppForm::*slot)());
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Menu and button handlers.
    void Login1Click();
    void Logout1Click();
    void Backup1Click();
    void Restore1Click();
    void ProductsList1Click();
    void ExportProducts1Click();
    void ExportCustomers1Click();
    void ExportPayments1Click();
    void ExportCredits1Click();
    void ImportProducts1Click();
    void DeleteProducts1Click();
    void DeleteCustomers1Click();
    void DeletePayments1Click();
    void DeleteCredits1Click();
    void Refund1Click(); // "Refund..."
    void OpenTill1Click();
    void CashIn1Click();
    void CashOut1Click();
    void CloseTill1Click();
    void OpenCashDrawer1Click();
    void KeyboardShortcuts1Click();
    void Exit1Click();
    void StockSheet1Click();
    void TopSelling1Click();
    void ReceiptsList1Click(); // "Receipts..."
    void XReport1Click();
    void ZReports1Click();
    void EditPassword1Click();
    void CurrencySymbol1Click();
    void Receipts1Click();
    void Database1Click();
    void PaymentTypes1Click();
    void AskPrint1Click();
    void PrintTemplate1Click();
    void ChangeInterface1Click();
    void ClassicalInterface1Click();
    void ResetToDefaults1Click();
    void OnlineHelp1Click();
    void UpdateNotifications1Click();
    void Language1Click();
    void SendFeedback1Click();
    void About1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void ButtonSellByCardClick();
    void ButtonSplitPaymentClick();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn17Click();

    void TimerActivateTimer();
    void TimerPasswordTimer();
    void TimerCheckerTimer();
    void TimerCaptionDuzeltTimer();
    void TimerPasswordAdminTimer();
    void showAdminMode(bool admin);
    // Shows the sell bar with its buttons enabled (a sale is on the list) or disables them.
    void allowSelling(bool allowed);
    // The sell buttons in the bar's order: cash, card, split, credit.
    std::vector<QPushButton*> sellButtons() const;
    // Whether the shop takes cards (its Card payment type is switched on): read when the database opens and after
    // the payment types were changed.
    void readPaymentTypes();

    struct ColumnKey
    {
        SettingKey key;
        QHeaderView* header;
        int count;
    };
    std::vector<ColumnKey> columnKeys() const;

    AppContext m_context;

    SaleScreen* m_saleScreen = nullptr;
    ProductsScreen* m_productsScreen = nullptr;
    CustomersScreen* m_customersScreen = nullptr;
    SalesHistoryScreen* m_salesHistoryScreen = nullptr;
    QWidget* m_sellBar = nullptr;
    QWidget* m_navBar = nullptr;
    QPushButton* m_sellByCash = nullptr;
    QPushButton* m_sellByCredit = nullptr;
    QPushButton* m_sellByCard = nullptr;
    QPushButton* m_splitPayment = nullptr;
    bool m_cardTaken = true;
    QPushButton* m_productsButton = nullptr;
    QPushButton* m_customersButton = nullptr;
    QPushButton* m_salesButton = nullptr;
    std::unique_ptr<UpdateCheckMonitor> m_updateCheck;
};

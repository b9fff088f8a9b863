#pragma once

#include <QWidget>

#include <functional>

class CreditsListModel;
class HistoryListModel;
class PaymentsListModel;
class QComboBox;
class QDateEdit;
class QHeaderView;
class QLabel;
class QMenu;
class QPushButton;
class QStackedLayout;
class QTableView;
class QTimeEdit;
class AppContext;
struct HistoryFilter;
struct ReprintFormat;

// The sales history screen (PanelSellings): payments list ListView2 and credits list ListView3 over a date-time
// range, narrowed to a product and, for credits, a customer.
class SalesHistoryScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SalesHistoryScreen(AppContext& context, QWidget* parent = nullptr);
    void setCaptions();
    // Prepares the screen each time it is opened: today .. tomorrow, payments listed. The filter lists are
    // filled the first time.
    void prepare();
    // Fills the customer and product filter lists; once in a run.
    void fillFilterLists();

    enum class ShownList { Payments, Credits };
    ShownList shownList() const { return m_shown; }
    PaymentsListModel* paymentsModel() const { return m_paymentsModel; }
    CreditsListModel* creditsModel() const { return m_creditsModel; }

    void BitBtn18Click(); // "Payments"
    void BitBtn19Click(); // "Credits"
    void BitBtn21Click(); // "Export"
    void ChartButtonClick();
    void Delete2Click();
    void Delete3Click();
    void Print1Click();
    void Print2Click();

    // The column headers of the two lists, whose widths the main window keeps in the settings.
    QHeaderView* paymentsHeader() const;
    QHeaderView* creditsHeader() const;

private:
    HistoryFilter currentFilter(bool withCustomer) const;
    void loadPayments(const HistoryFilter& filter);
    void loadCredits(const HistoryFilter& filter);
    void showList(QTableView* list);
    ReprintFormat reprintFormat() const;
    // The selected row of a list, or -1.
    static int selectedRow(const QTableView* list);
    // Asks and deletes the selected line; false when it stopped before the question.
    bool deleteLine(QTableView* list, const QString& question, const std::function<bool(qint64 id)>& removeLine);

    QDateEdit* DateTimePicker1 = nullptr; // begin date
    QDateEdit* DateTimePicker2 = nullptr; // end date
    QTimeEdit* DateTimePicker3 = nullptr; // begin time
    QTimeEdit* DateTimePicker4 = nullptr; // end time
    QComboBox* ComboBox3 = nullptr;       // customers
    QComboBox* ComboBox4 = nullptr;       // products
    QPushButton* BitBtn18 = nullptr;
    QPushButton* BitBtn19 = nullptr;
    QPushButton* BitBtn21 = nullptr;
    QPushButton* ChartButton = nullptr; // "Chart": the takings of the list shown, per day
    QPushButton* BitBtn20 = nullptr; // "MAIN MENU"
    QTableView* ListView2 = nullptr; // payments
    QTableView* ListView3 = nullptr; // credits
    QMenu* PopupMenu1 = nullptr;     // payments list: "Delete", "Print"
    QMenu* PopupMenu2 = nullptr;     // credits list: "Delete", "Print"
    QWidget* PanelTotal = nullptr;   // the bottom bar with the grand total
    QLabel* Label15 = nullptr;       // "GRAND TOTAL:"
    QLabel* Label14 = nullptr;       // the amount

    AppContext& m_context;
    PaymentsListModel* m_paymentsModel = nullptr;
    CreditsListModel* m_creditsModel = nullptr;
    QStackedLayout* m_lists = nullptr;
    QLabel* m_beginLabel = nullptr;
    QLabel* m_endLabel = nullptr;
    QLabel* m_customerLabel = nullptr;
    QLabel* m_productLabel = nullptr;
    ShownList m_shown = ShownList::Payments;
    bool m_filterListsFilled = false;
};

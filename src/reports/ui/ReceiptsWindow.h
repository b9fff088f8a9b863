#pragma once

#include <QDialog>

#include <vector>

class AppContext;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class ReceiptsListModel;
class TextTableModel;
struct ListedReceipt;
struct RecordLine;

// The receipts list: the sale records of a range of days, newest first, narrowed to a till, a receipt number and
// a payment type; the lines of the selected record below them. The selected receipt can be printed again, a
// selected sale refunded, and the listed records exported to a CSV file.
class ReceiptsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ReceiptsWindow(AppContext& context);
    ~ReceiptsWindow() override;

    ReceiptsListModel* model() const { return m_model; }
    TextTableModel* linesModel() const { return m_linesModel; }
    // The record selected in the list; none without a selection.
    const ListedReceipt* selectedReceipt() const;

    void FilterChange();
    void ReprintClick();
    void RefundClick(); // "Refund...": the Refund window for the selected sale
    void ExportClick();

private:
    // A button of the row under the lists that acts on the selected record: it stays disabled while none is
    // selected, and sits before "Export to File...".
    QPushButton* addRecordButton(const char* name, const QString& caption);
    void SelectionChange();

    QDateEdit* BeginDate = nullptr;
    QDateEdit* EndDate = nullptr;
    QComboBox* TillFilter = nullptr;      // "All Tills", then each till that stored records (its name as data)
    QLineEdit* ReceiptFilter = nullptr;   // a receipt number; empty: any
    QComboBox* TenderFilter = nullptr;    // "All Payment Types", then the shop's types (their codes as data)
    QTableView* RecordsList = nullptr;
    QTableView* LinesList = nullptr;      // the lines of the selected record
    QPushButton* ReprintButton = nullptr; // "Reprint"
    QPushButton* RefundButton = nullptr;  // "Refund...", for a sale
    QPushButton* ExportButton = nullptr;  // "Export to File..."
    QPushButton* CloseButton = nullptr;

    AppContext& m_context;
    ReceiptsListModel* m_model = nullptr;
    TextTableModel* m_linesModel = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    std::vector<QPushButton*> m_recordButtons;
    std::vector<RecordLine> m_lines; // of the selected record
};

// Reports > "Receipts...": a new window, shown modally.
void OpenReceiptsWindow(AppContext& context);

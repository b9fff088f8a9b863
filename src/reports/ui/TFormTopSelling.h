#pragma once

#include <QDialog>

class CsvFileDialog;
class QDateEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableView;
class QTimer;
class AppContext;
class TextTableModel;
class TopSellersChart;
enum class TopSellingRanking;

// The top selling products report: the paid lines of a date range, one row per barcode, ranked by quantity
// ("Unit") or by amount ("Price"), and exported to CSV. Each ranking runs from its own 10 ms timer.
class TFormTopSelling : public QDialog
{
    Q_OBJECT

public:
    explicit TFormTopSelling(AppContext& context);

    TextTableModel* model() const { return m_model; }

private:
    void RadioButton1Click();
    void RadioButton2Click();
    void DateTimePickerChange();
    void Timer1Timer();
    void Timer2Timer();
    void BitBtn1Click();
    void fill(TopSellingRanking ranking);

    QRadioButton* RadioButton1 = nullptr; // "Unit"
    QRadioButton* RadioButton2 = nullptr; // "Price"
    QDateEdit* DateTimePicker1 = nullptr; // begin
    QDateEdit* DateTimePicker2 = nullptr; // end
    QTableView* ListView1 = nullptr;
    TopSellersChart* Chart = nullptr; // the first ten of the ranking
    QPushButton* BitBtn1 = nullptr; // "Export to File..."
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr; // quantity ranking
    QTimer* Timer2 = nullptr; // amount ranking

    AppContext& m_context;
    TextTableModel* m_model = nullptr;
    CsvFileDialog* SaveDialog1 = nullptr;
};

// "Reports" > "Top Selling Products...": a new window, shown modally.
void OpenTopSellingForm(AppContext& context);

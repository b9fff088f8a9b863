#pragma once

#include "cashup/ZReports.h"

#include <QDialog>
#include <vector>

class AppContext;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTableView;
class TextTableModel;

// Reports > "Z Reports...": the closed sessions of a range of days, of one till or all, by till and Z number. The
// selected Z can be shown and printed again, the listed ones exported to a CSV file, and on a shared server the
// day summary of a date adds up every till's Z reports of it.
class ZReportsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ZReportsWindow(AppContext& context);
    ~ZReportsWindow() override;

    TextTableModel* model() const { return m_model; }
    // The Z selected in the list; none without a selection.
    const ZReport* selectedReport() const;

    void FilterChange();
    void ShowClick();
    void ReprintClick();
    void ExportClick();
    void SummaryClick();

private:
    void SelectionChange();

    AppContext& m_context;
    std::vector<ZReport> m_reports; // as listed
    TextTableModel* m_model = nullptr;
    QDateEdit* BeginDate = nullptr;
    QDateEdit* EndDate = nullptr;
    QComboBox* TillFilter = nullptr; // "All Tills", then each till with a Z report (its name as data)
    QTableView* ReportsList = nullptr;
    QPushButton* ShowButton = nullptr;
    QPushButton* ReprintButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QDateEdit* SummaryDate = nullptr;     // on a shared server only
    QPushButton* SummaryButton = nullptr; // on a shared server only
    QPushButton* CloseButton = nullptr;
};

// Reports > "Z Reports...": a new window, shown modally.
void OpenZReportsWindow(AppContext& context);

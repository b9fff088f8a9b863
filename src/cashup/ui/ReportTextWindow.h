#pragma once

#include <QDialog>
#include <QStringList>

class AppContext;
class QPlainTextEdit;
class QPushButton;

// A till report as it prints (the X report, a Z report, the day summary): its lines in a fixed-width font, with
// "Print" to send them to the receipt printer, or through the print dialog, as receipts are printed.
class ReportTextWindow : public QDialog
{
    Q_OBJECT

public:
    ReportTextWindow(AppContext& context, const QString& title, const QStringList& lines, QWidget* parent = nullptr);

    QString text() const;
    void PrintClick();

private:
    AppContext& m_context;
    QStringList m_lines;
    QPlainTextEdit* ReportText = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* CloseButton = nullptr;
};

// Prints a report's lines on the receipt printer (or through the print dialog), the print job named by the title.
// True when printed, false when cancelled; raises AppError "Printer not found!" when printing fails.
bool PrintReportLines(AppContext& context, QWidget* parent, const QString& title, const QStringList& lines);

// Shows the lines in a report window, modally.
void ShowReportText(AppContext& context, QWidget* parent, const QString& title, const QStringList& lines);

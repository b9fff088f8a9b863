#pragma once

#include <QDialog>

class AppContext;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class ReceiptPrinterGroup;

// "Receipts": the next receipt number and the folder receipt files are saved in. Shown without blocking the
// main window; nothing is stored until "OK".
class TFormReceipts : public QDialog
{
    Q_OBJECT

public:
    explicit TFormReceipts(AppContext& context);

    // Creates a new window and shows it without blocking; it frees itself when closed.
    static TFormReceipts* showFor(AppContext& context);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void ButtonTestPageClick();

private:
    void FormCreate();

    AppContext& m_context;

    QLabel* Label2 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QAction* Close1 = nullptr;
    ReceiptPrinterGroup* GroupReceiptPrinter = nullptr;
};

#pragma once

#include <QWidget>

class TAppForm;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// The sale screen (PanelMain): the entry bar, the sale list, the totals bar and the change panel.
class SaleScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SaleScreen(TAppForm& main, QWidget* parent = nullptr);

    // Translated captions, column headers and hints.
    void setCaptions();
    // Totals refresh: grand total, change table, amount tendered, sell buttons.
    void FiyatHesapla();

    QTreeWidget* ListView1 = nullptr;
    QPushButton* BitBtn22 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Image3 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* BitBtn15 = nullptr;
    QPushButton* BitBtn16 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label21 = nullptr;
    QPushButton* Button1 = nullptr;
    QWidget* Panel6 = nullptr;
    QLabel* Label20 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLabel* Label19 = nullptr;

    double GrandTotal = 0;
    double DiscountRate = 0;

private:
    TAppForm& m_main;
};

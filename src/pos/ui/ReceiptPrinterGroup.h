#pragma once

#include "pos/ReceiptPrinterSettings.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The "Receipt printer" group of the receipt settings window: which printer receipts go to and, for an ESC/POS
// printer, its address, paper width, code page, cutter and cash drawer.
class ReceiptPrinterGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit ReceiptPrinterGroup(QWidget* parent = nullptr);

    void setCaptions();
    void setPrinter(const ReceiptPrinterSettings& printer);
    ReceiptPrinterSettings printer() const;
    // Puts the group's controls in the window's tab chain, between before and after.
    void placeInTabOrder(QWidget* before, QWidget* after);

signals:
    void testPageRequested();

private:
    void enableEscPosControls();

    QLabel* LabelPrinterKind = nullptr;
    QComboBox* ComboPrinterKind = nullptr;
    QLabel* LabelPrinterAddress = nullptr;
    QLineEdit* EditPrinterAddress = nullptr;
    QLabel* LabelPrinterColumns = nullptr;
    QSpinBox* SpinPrinterColumns = nullptr;
    QLabel* LabelPrinterCodePage = nullptr;
    QComboBox* ComboPrinterCodePage = nullptr;
    QCheckBox* CheckPrinterCut = nullptr;
    QCheckBox* CheckCashDrawer = nullptr;
    QPushButton* ButtonTestPage = nullptr;
};

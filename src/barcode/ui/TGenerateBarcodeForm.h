#pragma once

#include <QImage>
#include <QWidget>

class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;

// The Code 39 generator window: the picture is redrawn on every change of the text, the pixel widths and the
// readable-text box, and can be saved as a bitmap or printed. Not modal; frees itself when closed.
class TGenerateBarcodeForm : public QWidget
{
    Q_OBJECT

public:
    explicit TGenerateBarcodeForm(Dialogs& dialogs, const QString& barcodeText = QString(),
                                  QWidget* parent = nullptr);

    // The picture shown; null until something was drawn.
    const QImage& picture() const { return m_picture; }

    void BarcodeOlustur();

private:
    void Edit1Change();
    void CheckBox1Click();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void BitBtn1Click();
    void BitBtn2Click();

    void showPicture();

    Dialogs& m_dialogs;
    QImage m_picture;

    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

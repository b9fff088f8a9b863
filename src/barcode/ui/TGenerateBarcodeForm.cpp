#include "barcode/ui/TGenerateBarcodeForm.h"

#include "core/Dialogs.h"
#include "barcode/Code39.h"
#include "platform/TextFile.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kMaxPixelWidth = 999999;

// A spin box's number; a text that is not a whole number gives its minimum.
int spinValue(const QSpinBox* box)
{
    bool ok = false;
    const int value = box->cleanText().toInt(&ok);
    if (!ok)
        return box->minimum();
    return std::clamp(value, box->minimum(), box->maximum());
}

bool hasValidNumber(const QSpinBox* box)
{
    bool ok = false;
    const int value = box->cleanText().toInt(&ok);
    return ok && value >= box->minimum() && value <= box->maximum();
}

QSpinBox* pixelSpinBox(QWidget* parent, const char* name, int minimum)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, kMaxPixelWidth);
    box->setValue(minimum);
    return box;
}

} // namespace

TGenerateBarcodeForm::TGenerateBarcodeForm(Dialogs& dialogs, const QString& barcodeText, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("GenerateBarcodeForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Generate Barcode"));
    resize(480, 280);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAccessibleName(QStringLiteral("Barcode image"));
    ScrollBox1->setWidget(Image1);

    auto* label1 = new QLabel(QStringLiteral("Text:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    label1->setBuddy(Edit1);

    CheckBox1 = new QCheckBox(QStringLiteral("Include Readable Text"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    auto* label2 = new QLabel(QStringLiteral("Narrow Pixel:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    SpinEdit1 = pixelSpinBox(this, "SpinEdit1", 1);
    label2->setBuddy(SpinEdit1);

    auto* label3 = new QLabel(QStringLiteral("Wide Pixel:"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    SpinEdit2 = pixelSpinBox(this, "SpinEdit2", 2);
    label3->setBuddy(SpinEdit2);

    BitBtn1 = new QPushButton(QStringLiteral("Export Image"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Print Image"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* controls = new QGridLayout;
    controls->addWidget(label1, 0, 0);
    controls->addWidget(Edit1, 0, 1, 1, 3);
    controls->addWidget(CheckBox1, 1, 1, 1, 3);
    controls->addWidget(label2, 2, 0);
    controls->addWidget(SpinEdit1, 2, 1);
    controls->addWidget(label3, 2, 2);
    controls->addWidget(SpinEdit2, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    controls->addLayout(buttons, 3, 0, 1, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ScrollBox1, 1);
    layout->addLayout(controls);

    connect(Edit1, &QLineEdit::textChanged, this, &TGenerateBarcodeForm::Edit1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TGenerateBarcodeForm::CheckBox1Click);
    connect(SpinEdit1, &QSpinBox::textChanged, this, &TGenerateBarcodeForm::SpinEdit1Change);
    connect(SpinEdit2, &QSpinBox::textChanged, this, &TGenerateBarcodeForm::SpinEdit2Change);
    // A spin box says nothing while its text is not a number in range (cleared, say): its editor does.
    connect(SpinEdit1->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this] {
        if (!hasValidNumber(SpinEdit1))
            SpinEdit1Change();
    });
    connect(SpinEdit2->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this] {
        if (!hasValidNumber(SpinEdit2))
            SpinEdit2Change();
    });
    connect(BitBtn1, &QPushButton::clicked, this, &TGenerateBarcodeForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TGenerateBarcodeForm::BitBtn2Click);

    // The picture stays empty until the text first changes; the caller's barcode is such a change.
    Edit1->setText(barcodeText);
}

void TGenerateBarcodeForm::Edit1Change()
{
    BarcodeOlustur();
}

void TGenerateBarcodeForm::CheckBox1Click()
{
    BarcodeOlustur();
}

void TGenerateBarcodeForm::SpinEdit1Change()
{
    BarcodeOlustur();
}

void TGenerateBarcodeForm::SpinEdit2Change()
{
    BarcodeOlustur();
}

void TGenerateBarcodeForm::BarcodeOlustur()
{
    const code39::Drawing drawing =
        code39::Draw(Edit1->text(), spinValue(SpinEdit1), spinValue(SpinEdit2), CheckBox1->isChecked());
    switch (drawing.status) {
    case code39::Drawing::Status::Drawn:
        m_picture = drawing.image;
        showPicture();
        break;
    case code39::Drawing::Status::CannotEncode:
        m_dialogs.message(this, QGuiApplication::applicationDisplayName(),
                          code39::CannotEncodeMessage(drawing.character), Dialogs::Icon::None, Dialogs::Ok);
        break;
    case code39::Drawing::Status::TooLarge:
        m_dialogs.message(this, QGuiApplication::applicationDisplayName(),
                          QStringLiteral("The barcode image would be too large!"), Dialogs::Icon::None,
                          Dialogs::Ok);
        break;
    }
}

void TGenerateBarcodeForm::showPicture()
{
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

void TGenerateBarcodeForm::BitBtn1Click()
{
    Dialogs::FileRequest request;
    request.filter = QStringLiteral("Bitmap (*.bmp)|*.bmp");
    request.defaultSuffix = QStringLiteral("bmp");
    request.confirmOverwrite = false;
    const QString path = m_dialogs.saveFile(this, request);
    if (path.isEmpty() || m_picture.isNull())
        return;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!m_picture.save(&buffer, "BMP"))
        error = QStringLiteral("Cannot create file \"%1\".").arg(path);
    else
        WriteFileAtomically(path, bytes, &error);
    if (!error.isEmpty())
        m_dialogs.message(this, QGuiApplication::applicationDisplayName(), error, Dialogs::Icon::Error,
                          Dialogs::Ok);
}

void TGenerateBarcodeForm::BitBtn2Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!m_dialogs.choosePrinter(this, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_dialogs.message(this, QGuiApplication::applicationDisplayName(), QStringLiteral("Printer not found!"),
                          Dialogs::Icon::Error, Dialogs::Ok);
        return;
    }
    const QRect target = code39::PrintRect(m_picture.size(), printer.logicalDpiX(), printer.logicalDpiY(),
                                           logicalDpiX(), logicalDpiY());
    if (!m_picture.isNull() && !target.isEmpty())
        painter.drawImage(target, m_picture);
    painter.end();
}

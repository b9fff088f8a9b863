#include "pos/ui/ReceiptPrinterGroup.h"

#include "i18n/Translator.h"
#include "pos/EscPosReceipt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <iterator>

namespace {

using Kind = ReceiptPrinterSettings::Kind;

// In the order of the kind combo's items.
constexpr Kind kKinds[] = {Kind::System, Kind::EscPosTcp, Kind::EscPosDevice};

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

ReceiptPrinterGroup::ReceiptPrinterGroup(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("GroupReceiptPrinter"));
    LabelPrinterKind = Named(new QLabel(this), "LabelPrinterKind");
    ComboPrinterKind = Named(new QComboBox(this), "ComboPrinterKind");
    for (int i = 0; i < int(std::size(kKinds)); ++i)
        ComboPrinterKind->addItem(QString());
    LabelPrinterAddress = Named(new QLabel(this), "LabelPrinterAddress");
    EditPrinterAddress = Named(new QLineEdit(this), "EditPrinterAddress");
    LabelPrinterColumns = Named(new QLabel(this), "LabelPrinterColumns");
    SpinPrinterColumns = Named(new QSpinBox(this), "SpinPrinterColumns");
    SpinPrinterColumns->setRange(ReceiptPrinterSettings::kMinimumColumns, ReceiptPrinterSettings::kMaximumColumns);
    LabelPrinterCodePage = Named(new QLabel(this), "LabelPrinterCodePage");
    ComboPrinterCodePage = Named(new QComboBox(this), "ComboPrinterCodePage");
    for (const int codePage : EscPosCodePages())
        ComboPrinterCodePage->addItem(QString::number(codePage), codePage);
    CheckPrinterCut = Named(new QCheckBox(this), "CheckPrinterCut");
    CheckCashDrawer = Named(new QCheckBox(this), "CheckCashDrawer");
    ButtonTestPage = Named(new QPushButton(this), "ButtonTestPage");
    ButtonTestPage->setAutoDefault(false);

    LabelPrinterKind->setBuddy(ComboPrinterKind);
    LabelPrinterAddress->setBuddy(EditPrinterAddress);
    LabelPrinterColumns->setBuddy(SpinPrinterColumns);
    LabelPrinterCodePage->setBuddy(ComboPrinterCodePage);

    auto* grid = new QGridLayout(this);
    grid->addWidget(LabelPrinterKind, 0, 0);
    grid->addWidget(ComboPrinterKind, 0, 1, 1, 3);
    grid->addWidget(LabelPrinterAddress, 1, 0);
    grid->addWidget(EditPrinterAddress, 1, 1, 1, 3);
    grid->addWidget(LabelPrinterColumns, 2, 0);
    grid->addWidget(SpinPrinterColumns, 2, 1);
    grid->addWidget(LabelPrinterCodePage, 2, 2);
    grid->addWidget(ComboPrinterCodePage, 2, 3);
    grid->addWidget(CheckPrinterCut, 3, 0, 1, 4);
    grid->addWidget(CheckCashDrawer, 4, 0, 1, 4);
    grid->addWidget(ButtonTestPage, 5, 0, 1, 4, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);

    setTabOrder(ComboPrinterKind, EditPrinterAddress);
    setTabOrder(EditPrinterAddress, SpinPrinterColumns);
    setTabOrder(SpinPrinterColumns, ComboPrinterCodePage);
    setTabOrder(ComboPrinterCodePage, CheckPrinterCut);
    setTabOrder(CheckPrinterCut, CheckCashDrawer);
    setTabOrder(CheckCashDrawer, ButtonTestPage);

    connect(ComboPrinterKind, &QComboBox::currentIndexChanged, this, [this] { enableEscPosControls(); });
    connect(ButtonTestPage, &QPushButton::clicked, this, &ReceiptPrinterGroup::testPageRequested);
    setPrinter(ReceiptPrinterSettings{});
}

void ReceiptPrinterGroup::setCaptions()
{
    setTitle(TranslateText("Receipt printer"));
    LabelPrinterKind->setText(TranslateText("Printer:"));
    ComboPrinterKind->setItemText(0, TranslateText("System printer (print dialog)"));
    ComboPrinterKind->setItemText(1, TranslateText("ESC/POS printer on the network"));
    ComboPrinterKind->setItemText(2, TranslateText("ESC/POS printer on a device file"));
    LabelPrinterAddress->setText(TranslateText("Address:"));
    EditPrinterAddress->setToolTip(
        TranslateText("host:port (port 9100 if omitted) or a device file such as /dev/usb/lp0"));
    LabelPrinterColumns->setText(TranslateText("Characters per line:"));
    LabelPrinterCodePage->setText(TranslateText("Code page:"));
    CheckPrinterCut->setText(TranslateText("Cut the paper"));
    CheckCashDrawer->setText(TranslateText("Open the cash drawer after cash sales"));
    ButtonTestPage->setText(TranslateText("Print Test Page"));
}

void ReceiptPrinterGroup::setPrinter(const ReceiptPrinterSettings& printer)
{
    for (int i = 0; i < int(std::size(kKinds)); ++i)
        if (kKinds[i] == printer.kind)
            ComboPrinterKind->setCurrentIndex(i);
    EditPrinterAddress->setText(printer.address);
    SpinPrinterColumns->setValue(printer.columns);
    ComboPrinterCodePage->setCurrentIndex(std::max(0, ComboPrinterCodePage->findData(printer.codePage)));
    CheckPrinterCut->setChecked(printer.cut);
    CheckCashDrawer->setChecked(printer.cashDrawer);
    enableEscPosControls();
}

ReceiptPrinterSettings ReceiptPrinterGroup::printer() const
{
    ReceiptPrinterSettings printer;
    printer.kind = kKinds[std::clamp(ComboPrinterKind->currentIndex(), 0, int(std::size(kKinds)) - 1)];
    printer.address = EditPrinterAddress->text().trimmed();
    printer.columns = SpinPrinterColumns->value();
    printer.codePage = ComboPrinterCodePage->currentData().toInt();
    printer.cut = CheckPrinterCut->isChecked();
    printer.cashDrawer = CheckCashDrawer->isChecked();
    return printer;
}

void ReceiptPrinterGroup::placeInTabOrder(QWidget* before, QWidget* after)
{
    setTabOrder(before, ComboPrinterKind);
    setTabOrder(ButtonTestPage, after);
}

void ReceiptPrinterGroup::enableEscPosControls()
{
    const bool escPos = ComboPrinterKind->currentIndex() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{LabelPrinterAddress, EditPrinterAddress, LabelPrinterColumns,
                                                      SpinPrinterColumns, LabelPrinterCodePage, ComboPrinterCodePage,
                                                      CheckPrinterCut, CheckCashDrawer})
        w->setEnabled(escPos);
}

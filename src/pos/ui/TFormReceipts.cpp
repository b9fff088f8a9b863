#include "pos/ui/TFormReceipts.h"

#include "core/Dialogs.h"
#include "app/AppContext.h"
#include "i18n/Translator.h"
#include "pos/ui/ReceiptPrinting.h"
#include "pos/ui/ReceiptPrinterGroup.h"

#include <QAction>
#include <QBoxLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr qint64 kMinimumNumber = 1;
constexpr qint64 kMaximumNumber = 999999999;

// The folder last chosen with the folder button, kept for the run across receipt windows.
QString& rememberedFolder()
{
    static QString folder;
    return folder;
}

void centreOnScreen(QWidget& window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

TFormReceipts::TFormReceipts(AppContext& context)
    : QDialog(context.window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("FormReceipts"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(int(kMinimumNumber), int(kMaximumNumber));
    SpinEdit1->setValue(1);
    Label2->setBuddy(SpinEdit1);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(280);
    Label1->setBuddy(Edit1);
    Button1 = new QToolButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    Button3 = new QPushButton(this);
    Button3->setObjectName(QStringLiteral("Button3"));

    GroupReceiptPrinter = new ReceiptPrinterGroup(this);

    Close1 = new QAction(this);
    Close1->setObjectName(QStringLiteral("Close1"));
    Close1->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(Close1);

    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(SpinEdit1, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(Button1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(GroupReceiptPrinter);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(SpinEdit1, Edit1);
    setTabOrder(Edit1, Button1);
    GroupReceiptPrinter->placeInTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QToolButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(GroupReceiptPrinter, &ReceiptPrinterGroup::testPageRequested, this, [this] { ButtonTestPageClick(); });
    connect(Close1, &QAction::triggered, this, [this] { Button3Click(); });

    FormCreate();
}

TFormReceipts* TFormReceipts::showFor(AppContext& context)
{
    auto* window = new TFormReceipts(context);
    window->adjustSize();
    centreOnScreen(*window);
    window->show();
    return window;
}

void TFormReceipts::FormCreate()
{
    SettingsStore& settings = m_context.settings();
    if (settings.contains(SettingKey::ReceiptNumber))
        SpinEdit1->setValue(int(qBound(kMinimumNumber, settings.integer(SettingKey::ReceiptNumber), kMaximumNumber)));
    if (settings.contains(SettingKey::ReceiptFolder))
        Edit1->setText(settings.text(SettingKey::ReceiptFolder));
    GroupReceiptPrinter->setPrinter(CurrentReceiptPrinter(m_context));

    setWindowTitle(TranslateText("Receipts"));
    Label2->setText(TranslateText("Next Receipt Number:"));
    Label1->setText(TranslateText("Directory:"));
    Button1->setToolTip(TranslateText("Select folder:"));
    Button1->setAccessibleName(TranslateText("Select folder:"));
    Button2->setText(TranslateText("OK"));
    Button3->setText(TranslateText("Cancel"));
    GroupReceiptPrinter->setCaptions();
}

void TFormReceipts::Button1Click()
{
    const QString folder = m_context.dialogs().chooseFolder(this, TranslateText("Select folder:"), rememberedFolder());
    if (folder.isEmpty())
        return;
    rememberedFolder() = folder;
    Edit1->setText(folder);
}

void TFormReceipts::Button2Click()
{
    // Text that is not a whole number counts as 1.
    bool isNumber = false;
    const qint64 typed = SpinEdit1->cleanText().toLongLong(&isNumber);
    const qint64 number = isNumber ? qBound(kMinimumNumber, typed, kMaximumNumber) : 1;
    const QString folder = Edit1->text().trimmed();

    std::vector<SettingsStore::Change> changes{{SettingKey::ReceiptNumber, number}, {SettingKey::ReceiptFolder, folder}};
    // Written only when changed, so an untouched group leaves the defaults (code page from the language) free.
    const ReceiptPrinterSettings printer = GroupReceiptPrinter->printer();
    if (printer != CurrentReceiptPrinter(m_context)) {
        const std::vector<SettingsStore::Change> printerChanges = printer.changes();
        changes.insert(changes.end(), printerChanges.begin(), printerChanges.end());
    }
    m_context.settings().set(changes);
    m_context.receipts.ReceiptFolder = folder;
    close();
}

// The printer as chosen in the window, saved or not, so a choice can be tried before "OK".
void TFormReceipts::ButtonTestPageClick()
{
    m_context.runGuarded([this] { PrintReceiptTestPage(m_context, this, GroupReceiptPrinter->printer()); });
}

void TFormReceipts::Button3Click()
{
    close();
}

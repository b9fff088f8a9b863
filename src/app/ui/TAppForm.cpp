#include "app/ui/TAppForm.h"

#include "access/ui/Passwords.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "app/ui/GuardedHandler.h"
#include "app/ui/ThemeApply.h"
#include "app/Themes.h"
#include "app/VersionInfo.h"
#include "app/WindowPlacement.h"
#include "cashup/ui/TillSessionCommands.h"
#include "cashup/ui/ZReportsWindow.h"
#include "catalogue/ui/CustomersScreen.h"
#include "catalogue/ui/ProductsScreen.h"
#include "catalogue/ui/TUrunlerForm.h"
#include "i18n/Translator.h"
#include "i18n/ui/TTranslateForm.h"
#include "online/UpdateCheck.h"
#include "online/UpdateStore.h"
#include "online/TChecker.h"
#include "online/ui/TFeedbackForm.h"
#include "online/ui/TNewVer.h"
#include "platform/Environment.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "pos/TillTenderTypes.h"
#include "pos/ui/CashCheckout.h"
#include "pos/ui/PaymentTypesWindow.h"
#include "pos/ui/PaymentWindow.h"
#include "pos/ui/RefundStartWindow.h"
#include "pos/ui/SaleScreen.h"
#include "pos/ui/TPrintTemplateForm.h"
#include "pos/ui/TFormReceipts.h"
#include "pos/ui/TVeresiyeForm.h"
#include "reports/ui/DataExchangeCommands.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "reports/ui/TStockSheetForm.h"
#include "reports/ui/TFormTopSelling.h"
#include "reports/ui/ReceiptsWindow.h"
#include "store/Backup.h"
#include "app/ui/BackupCommands.h"
#include "app/ui/DatabaseSettingsWindow.h"
#include "store/DataFileTemplate.h"
#include "store/TenderTypesTable.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace {

QTimer* makeTimer(QObject* parent, const QString& name, int interval, bool running)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    if (running)
        timer->start();
    return timer;
}

QPushButton* makeButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TAppForm::TAppForm(Environment& environment, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , m_context(environment, dialogs)
{
    setObjectName(QStringLiteral("AppForm"));
    m_context.setWindow(this);
    FormCreate();
}

TAppForm::~TAppForm() = default;  // the update check, if still running, is stopped here

void TAppForm::FormCreate()
{
    setWindowTitle(m_context.AppTitle);

    buildScreens();
    buildBars();
    buildMenus();
    buildTimers();
    setCaptions();

    action(QStringLiteral("AskPrint1"))->setChecked(m_context.receipts.askBeforePrinting);

    // Numbers are always written and read with a point, whatever the locale says.
    QLocale::setDefault(QLocale::c());

    ThemeNames = ::ThemeNames();
    ThemeIndex = ThemeIndexFromSetting(m_context.settings().text(SettingKey::VisualStyle));
    ApplyTheme(ThemeIndex);

    m_sellBar->hide();
    m_productsScreen->hide();
    m_customersScreen->hide();
    m_salesHistoryScreen->hide();
    m_saleScreen->showEmptySale();
    m_saleScreen->show();

    connect(&m_context, &AppContext::adminModeChanged, this, &TAppForm::showAdminMode);
    connect(&m_context, &AppContext::saleScreenRequested, this, &TAppForm::AnaMenuAc);
    connect(m_saleScreen, &SaleScreen::sellingChanged, this, &TAppForm::allowSelling);
    m_context.SetAdminMode(m_context.settings().text(SettingKey::AdminSecret).isEmpty());
    restoreColumnWidths();
    ColumnSaveEnabled = true;
    resize(841, 619 + menuBar()->sizeHint().height());
    if (const QScreen* shown = screen())
        move(CentredPosition(size(), shown->availableGeometry()));
}

void TAppForm::buildScreens()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_saleScreen = new SaleScreen(m_context, central);
    m_productsScreen = new ProductsScreen(m_context, central);
    m_customersScreen = new CustomersScreen(m_context, central);
    m_salesHistoryScreen = new SalesHistoryScreen(m_context, central);
    for (QWidget* screen : {static_cast<QWidget*>(m_saleScreen), static_cast<QWidget*>(m_productsScreen),
                            static_cast<QWidget*>(m_customersScreen), static_cast<QWidget*>(m_salesHistoryScreen)})
        layout->addWidget(screen, 1);

    m_sellBar = new QWidget(central);
    m_sellBar->setObjectName(QStringLiteral("Panel1"));
    m_sellBar->setFixedHeight(64);
    m_navBar = new QWidget(central);
    m_navBar->setObjectName(QStringLiteral("Panel2"));
    m_navBar->setFixedHeight(64);
    layout->addWidget(m_sellBar);
    layout->addWidget(m_navBar);
    setCentralWidget(central);
}

void TAppForm::buildBars()
{
    m_sellByCash = makeButton(m_sellBar, QStringLiteral("BitBtn1"));
    m_sellByCard = makeButton(m_sellBar, QStringLiteral("ButtonSellByCard"));
    m_splitPayment = makeButton(m_sellBar, QStringLiteral("ButtonSplitPayment"));
    m_sellByCredit = makeButton(m_sellBar, QStringLiteral("BitBtn2"));
    for (QPushButton* b : sellButtons()) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setEnabled(false);
    }
    m_productsButton = makeButton(m_navBar, QStringLiteral("BitBtn3"));
    m_customersButton = makeButton(m_navBar, QStringLiteral("BitBtn4"));
    m_salesButton = makeButton(m_navBar, QStringLiteral("BitBtn17"));
    m_sellBar->installEventFilter(this);
    m_navBar->installEventFilter(this);

    // The sell buttons keep the focus after a click, and their questions and windows give it back there; the
    // next scan must reach the sale list, whichever way the checkout ended.
    const std::pair<QPushButton*, void (TAppForm::*)()> sellHandlers[] = {
        {m_sellByCash, &TAppForm::BitBtn1Click},
        {m_sellByCard, &TAppForm::ButtonSellByCardClick},
        {m_splitPayment, &TAppForm::ButtonSplitPaymentClick},
        {m_sellByCredit, &TAppForm::BitBtn2Click}};
    for (const auto& [button, handler] : sellHandlers)
        connect(button, &QPushButton::clicked, this, [this, handler] {
            Guarded(m_context, this, handler)();
            m_saleScreen->focusList();
        });
    connect(m_productsButton, &QPushButton::clicked, this, Guarded(m_context, this, &TAppForm::BitBtn3Click));
    connect(m_customersButton, &QPushButton::clicked, this, Guarded(m_context, this, &TAppForm::BitBtn4Click));
    connect(m_salesButton, &QPushButton::clicked, this, Guarded(m_context, this, &TAppForm::BitBtn17Click));
}

QAction* TAppForm::addItem(QMenu* menu, const QString& objectName, const QString& caption, void (TAppForm::*slot)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(objectName);
    if (slot)
        connect(a, &QAction::triggered, this, Guarded(m_context, this, slot));
    return a;
}

void TAppForm::buildMenus()
{
    QMenu* operations = menuBar()->addMenu(QString());
    operations->setObjectName(QStringLiteral("Operations1"));
    addItem(operations, QStringLiteral("Login1"), QString(), &TAppForm::Login1Click);
    addItem(operations, QStringLiteral("Logout1"), QString(), &TAppForm::Logout1Click);
    operations->addSeparator();
    addItem(operations, QStringLiteral("Backup1"), QString(), &TAppForm::Backup1Click);
    addItem(operations, QStringLiteral("Restore1"), QString(), &TAppForm::Restore1Click);
    operations->addSeparator();
    addItem(operations, QStringLiteral("ProductsList1"), QString(), &TAppForm::ProductsList1Click);
    QMenu* exportMenu = operations->addMenu(QString());
    exportMenu->setObjectName(QStringLiteral("Export1"));
    addItem(exportMenu, QStringLiteral("ExportProducts1"), QString(), &TAppForm::ExportProducts1Click);
    addItem(exportMenu, QStringLiteral("ExportCustomers1"), QString(), &TAppForm::ExportCustomers1Click);
    addItem(exportMenu, QStringLiteral("ExportPayments1"), QString(), &TAppForm::ExportPayments1Click);
    addItem(exportMenu, QStringLiteral("ExportCredits1"), QString(), &TAppForm::ExportCredits1Click);
    QMenu* importMenu = operations->addMenu(QString());
    importMenu->setObjectName(QStringLiteral("Import1"));
    addItem(importMenu, QStringLiteral("ImportProducts1"), QString(), &TAppForm::ImportProducts1Click);
    QMenu* deleteMenu = operations->addMenu(QString());
    deleteMenu->setObjectName(QStringLiteral("Delete1"));
    addItem(deleteMenu, QStringLiteral("DeleteProducts1"), QString(), &TAppForm::DeleteProducts1Click);
    addItem(deleteMenu, QStringLiteral("DeleteCustomers1"), QString(), &TAppForm::DeleteCustomers1Click);
    addItem(deleteMenu, QStringLiteral("DeletePayments1"), QString(), &TAppForm::DeletePayments1Click);
    addItem(deleteMenu, QStringLiteral("DeleteCredits1"), QString(), &TAppForm::DeleteCredits1Click);
    operations->addSeparator();
    addItem(operations, QStringLiteral("Refund1"), QString(), &TAppForm::Refund1Click);
    addItem(operations, QStringLiteral("OpenTill1"), QString(), &TAppForm::OpenTill1Click);
    addItem(operations, QStringLiteral("CashIn1"), QString(), &TAppForm::CashIn1Click);
    addItem(operations, QStringLiteral("CashOut1"), QString(), &TAppForm::CashOut1Click);
    addItem(operations, QStringLiteral("CloseTill1"), QString(), &TAppForm::CloseTill1Click);
    addItem(operations, QStringLiteral("OpenCashDrawer1"), QString(), &TAppForm::OpenCashDrawer1Click);
    operations->addSeparator();
    addItem(operations, QStringLiteral("KeyboardShortcuts1"), QString(), &TAppForm::KeyboardShortcuts1Click);
    operations->addSeparator();
    addItem(operations, QStringLiteral("Exit1"), QString(), &TAppForm::Exit1Click)
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    // Ctrl+Alt+P is a separate action with the same effect as "Product List...".
    auto* productList = new QAction(this);
    productList->setObjectName(QStringLiteral("ProductList"));
    productList->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    productList->setShortcutContext(Qt::WindowShortcut);
    connect(productList, &QAction::triggered, this, Guarded(m_context, this, &TAppForm::ProductsList1Click));
    addAction(productList);

    QMenu* reports = menuBar()->addMenu(QString());
    reports->setObjectName(QStringLiteral("Reports1"));
    addItem(reports, QStringLiteral("StockSheet1"), QString(), &TAppForm::StockSheet1Click);
    addItem(reports, QStringLiteral("TopSelling1"), QString(), &TAppForm::TopSelling1Click);
    addItem(reports, QStringLiteral("ReceiptsList1"), QString(), &TAppForm::ReceiptsList1Click);
    reports->addSeparator();
    addItem(reports, QStringLiteral("XReport1"), QString(), &TAppForm::XReport1Click);
    addItem(reports, QStringLiteral("ZReports1"), QString(), &TAppForm::ZReports1Click);

    QMenu* settingsMenu = menuBar()->addMenu(QString());
    settingsMenu->setObjectName(QStringLiteral("Settings1"));
    addItem(settingsMenu, QStringLiteral("EditPassword1"), QString(), &TAppForm::EditPassword1Click);
    addItem(settingsMenu, QStringLiteral("CurrencySymbol1"), QString(), &TAppForm::CurrencySymbol1Click);
    addItem(settingsMenu, QStringLiteral("Receipts1"), QString(), &TAppForm::Receipts1Click);
    addItem(settingsMenu, QStringLiteral("PaymentTypes1"), QString(), &TAppForm::PaymentTypes1Click);
    addItem(settingsMenu, QStringLiteral("Database1"), QString(), &TAppForm::Database1Click);
    settingsMenu->addSeparator();
    addItem(settingsMenu, QStringLiteral("AskPrint1"), QString(), &TAppForm::AskPrint1Click)->setCheckable(true);
    addItem(settingsMenu, QStringLiteral("PrintTemplate1"), QString(), &TAppForm::PrintTemplate1Click);
    settingsMenu->addSeparator();
    addItem(settingsMenu, QStringLiteral("ChangeInterface1"), QString(), &TAppForm::ChangeInterface1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    addItem(settingsMenu, QStringLiteral("ClassicalInterface1"), QString(), &TAppForm::ClassicalInterface1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    settingsMenu->addSeparator();
    addItem(settingsMenu, QStringLiteral("ResetToDefaults1"), QString(), &TAppForm::ResetToDefaults1Click);

    QMenu* help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("Help1"));
    addItem(help, QStringLiteral("OnlineHelp1"), QString(), &TAppForm::OnlineHelp1Click)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    QAction* updates = addItem(help, QStringLiteral("UpdateNotifications1"), QString(),
                               &TAppForm::UpdateNotifications1Click);
    updates->setCheckable(true);
    updates->setChecked(true);
    updates->setEnabled(false);
    help->addSeparator();
    addItem(help, QStringLiteral("Language1"), QString(), &TAppForm::Language1Click);
    addItem(help, QStringLiteral("SendFeedback1"), QString(), &TAppForm::SendFeedback1Click);
    addItem(help, QStringLiteral("About1"), QString(), &TAppForm::About1Click);
}

void TAppForm::buildTimers()
{
    TimerActivate = makeTimer(this, QStringLiteral("TimerActivate"), 1, true);
    TimerPassword = makeTimer(this, QStringLiteral("TimerPassword"), 1, true);
    TimerChecker = makeTimer(this, QStringLiteral("TimerChecker"), 1000, true);
    TimerColumnWidth = makeTimer(this, QStringLiteral("TimerColumnWidth"), 1000, true);
    TimerCaptionDuzelt = makeTimer(this, QStringLiteral("TimerCaptionDuzelt"), 3000, false);
    TimerPasswordAdmin = makeTimer(this, QStringLiteral("TimerPasswordAdmin"), 1, false);
    connect(TimerActivate, &QTimer::timeout, this, Guarded(m_context, this, &TAppForm::TimerActivateTimer));
    connect(TimerPassword, &QTimer::timeout, this, Guarded(m_context, this, &TAppForm::TimerPasswordTimer));
    connect(TimerChecker, &QTimer::timeout, this, Guarded(m_context, this, &TAppForm::TimerCheckerTimer));
    connect(TimerColumnWidth, &QTimer::timeout, this, Guarded(m_context, this, &TAppForm::SaveColumnWidths));
    connect(TimerCaptionDuzelt, &QTimer::timeout, this, [this] { TimerCaptionDuzeltTimer(); });
    connect(TimerPasswordAdmin, &QTimer::timeout, this,
            Guarded(m_context, this, &TAppForm::TimerPasswordAdminTimer));
}

QAction* TAppForm::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void TAppForm::setCaptions()
{
    const auto setMenu = [this](const char* name, const char* text) {
        if (auto* menu = findChild<QMenu*>(QString::fromLatin1(name)))
            menu->setTitle(TranslateText(text));
    };
    const auto setItem = [this](const char* name, const QString& text) {
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setText(text);
    };
    const QString dots = QStringLiteral("...");
    setMenu("Operations1", "Operations");
    setMenu("Reports1", "Reports");
    setMenu("Settings1", "Settings");
    setMenu("Help1", "Help");
    setItem("Login1", TranslateText("Login (Full Access)"));
    setItem("Logout1", TranslateText("Logout"));
    setItem("Backup1", TranslateText("Backup..."));
    setItem("Restore1", TranslateText("Restore from Backup..."));
    setItem("ProductsList1", TranslateText("Product List..."));
    setMenu("Export1", "Export");
    setMenu("Import1", "Import");
    setMenu("Delete1", "Delete");
    setItem("Refund1", TranslateText("Refund..."));
    setItem("OpenTill1", TranslateText("Open Till..."));
    setItem("CashIn1", TranslateText("Cash In..."));
    setItem("CashOut1", TranslateText("Cash Out..."));
    setItem("CloseTill1", TranslateText("Close Till..."));
    setItem("OpenCashDrawer1", TranslateText("Open Cash Drawer"));
    setItem("KeyboardShortcuts1", TranslateText("Keyboard Shortcuts") + dots);
    setItem("Exit1", TranslateText("Exit"));
    for (const char* name : {"ExportProducts1", "ImportProducts1", "DeleteProducts1"})
        setItem(name, TranslateText("Products"));
    for (const char* name : {"ExportCustomers1", "DeleteCustomers1"})
        setItem(name, TranslateText("Customers"));
    for (const char* name : {"ExportPayments1", "DeletePayments1"})
        setItem(name, TranslateText("Payments"));
    for (const char* name : {"ExportCredits1", "DeleteCredits1"})
        setItem(name, TranslateText("Credits"));
    setItem("StockSheet1", TranslateText("Stock Inventory Count Sheet..."));
    setItem("TopSelling1", TranslateText("Top Selling Products..."));
    setItem("ReceiptsList1", TranslateText("Receipts..."));
    setItem("XReport1", TranslateText("X Report"));
    setItem("ZReports1", TranslateText("Z Reports..."));
    setItem("EditPassword1", TranslateText("Edit Password"));
    setItem("CurrencySymbol1", TranslateText("Currency Symbol"));
    setItem("Receipts1", TranslateText("Receipts"));
    setItem("PaymentTypes1", TranslateText("Payment Types..."));
    setItem("Database1", TranslateText("Database") + dots);
    setItem("AskPrint1", TranslateText("Ask Print"));
    setItem("PrintTemplate1", TranslateText("Print Template"));
    setItem("ChangeInterface1", TranslateText("Change Interface"));
    setItem("ClassicalInterface1", TranslateText("Classical Interface"));
    setItem("ResetToDefaults1", TranslateText("Reset to Defaults"));
    setItem("OnlineHelp1", TranslateText("Online Help"));
    setItem("UpdateNotifications1", TranslateText("Update Notifications"));
    setItem("Language1", TranslateText("Language") + dots);
    setItem("SendFeedback1", TranslateText("Send Feedback") + dots);
    setItem("About1", TranslateText("About") + dots);

    m_productsButton->setText(TranslateText("PRODUCTS"));
    m_customersButton->setText(TranslateText("CUSTOMERS"));
    m_salesButton->setText(TranslateText("SALES"));
    m_sellByCash->setText(TranslateText("SELL BY CASH"));
    m_sellByCard->setText(TranslateText("SELL BY CARD"));
    m_splitPayment->setText(TranslateText("SPLIT PAYMENT"));
    m_sellByCredit->setText(TranslateText("SELL BY CREDIT"));
    // F1 is the help and Alt+F4 ends the program; F5 to F8 sell, in the bar's order. (A button's new caption
    // takes its shortcut away, so the keys are given after it.)
    const char* const tips[] = {"Sell by Cash", "Sell by Card", "Split Payment", "Sell by Credit"};
    const std::vector<QPushButton*> sell = sellButtons();
    for (size_t i = 0; i < sell.size(); ++i) {
        const QKeySequence key(Qt::Key_F5 + int(i));
        sell[i]->setShortcut(key);
        sell[i]->setToolTip(TranslateText(tips[i]) + QStringLiteral(" (") + key.toString(QKeySequence::NativeText)
                            + QLatin1Char(')'));
    }

    m_saleScreen->setCaptions();
    m_productsScreen->setCaptions();
    m_customersScreen->setCaptions();
    m_salesHistoryScreen->setCaptions();
}

std::vector<TAppForm::ColumnKey> TAppForm::columnKeys() const
{
    return {{SettingKey::MainColumn, m_saleScreen->listHeader(), 5},
            {SettingKey::PaymentColumn, m_salesHistoryScreen->paymentsHeader(), 7},
            {SettingKey::CreditColumn, m_salesHistoryScreen->creditsHeader(), 8}};
}

void TAppForm::restoreColumnWidths()
{
    for (const ColumnKey& list : columnKeys()) {
        for (int n = 1; n <= list.count; ++n)
            if (m_context.settings().contains(list.key, n))
                list.header->resizeSection(n - 1, int(m_context.settings().integer(list.key, n)));
    }
}

void TAppForm::SaveColumnWidths()
{
    if (!ColumnSaveEnabled)
        return;
    std::vector<SettingsStore::Change> changed;
    for (const ColumnKey& list : columnKeys()) {
        for (int n = 1; n <= list.count; ++n) {
            const int width = list.header->sectionSize(n - 1);
            if (!m_context.settings().contains(list.key, n) || m_context.settings().integer(list.key, n) != width)
                changed.push_back({list.key, qint64(width), n});
        }
    }
    m_context.settings().set(changed); // the file is written on every tick, changed or not
}

bool TAppForm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_sellBar || watched == m_navBar) && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TAppForm::FormResize()
{
    const int w1 = m_sellBar->contentsRect().width();
    const int h1 = m_sellBar->contentsRect().height();
    const std::vector<QPushButton*> sell = sellButtons();
    const int width = w1 / int(sell.size());
    const int sellPoints = w1 >= 1100 ? 18 : (w1 > 800 ? 14 : 11);
    for (size_t i = 0; i < sell.size(); ++i) {
        sell[i]->setGeometry(int(i) * width + 2, 2, width - 5, h1 - 4);
        QFont f = sell[i]->font();
        f.setPointSize(sellPoints);
        sell[i]->setFont(f);
    }

    const int w2 = m_navBar->contentsRect().width();
    const int h2 = m_navBar->contentsRect().height();
    const int points = w2 >= 1100 ? 24 : (w2 > 800 ? 20 : 16);
    int x = 2;
    for (QPushButton* b : {m_productsButton, m_customersButton, m_salesButton}) {
        b->setGeometry(x, 2, w2 / 3 - 5, h2 - 4);
        QFont f = b->font();
        f.setPointSize(points);
        b->setFont(f);
        x += w2 / 3;
    }
}

void TAppForm::showScreen(QWidget* panel)
{
    for (QWidget* screen : {static_cast<QWidget*>(m_saleScreen), static_cast<QWidget*>(m_productsScreen),
                            static_cast<QWidget*>(m_customersScreen), static_cast<QWidget*>(m_salesHistoryScreen)})
        if (screen != panel)
            screen->hide();
    panel->show();
}

void TAppForm::AnaMenuAc()
{
    showScreen(m_saleScreen);
    m_saleScreen->focusList();
    m_saleScreen->FiyatHesapla();
}

void TAppForm::showAdminMode(bool admin)
{
    action(QStringLiteral("Login1"))->setVisible(!admin);
    action(QStringLiteral("Logout1"))->setVisible(admin);
}

std::vector<QPushButton*> TAppForm::sellButtons() const
{
    return {m_sellByCash, m_sellByCard, m_splitPayment, m_sellByCredit};
}

void TAppForm::readPaymentTypes()
{
    const std::optional<std::vector<TenderType>> types = TenderTypesTable(m_context.SQLConnection1()).all();
    m_cardTaken = types && TakesCards(*types);
}

void TAppForm::allowSelling(bool allowed)
{
    for (QPushButton* b : sellButtons())
        b->setEnabled(allowed);
    m_sellByCard->setEnabled(allowed && m_cardTaken);
    if (!allowed)
        return;
    m_sellBar->show();
    FormResize();
}

void TAppForm::OpenDatabase()
{
    m_context.openDatabase();
    readPaymentTypes();
    emit databaseOpened();
}

// ---- timers ----

void TAppForm::TimerActivateTimer()
{
    TimerActivate->stop();
    OpenDatabase();
}

void TAppForm::TimerPasswordTimer()
{
    TimerPassword->stop();
    if (StartupPasswordCheck(m_context))
        return;
    // Nothing of the program may show or run once the answer was wrong.
    for (QTimer* timer : findChildren<QTimer*>())
        timer->stop();
    setEnabled(false);
    hide();
    m_context.env().quitApplication();
}

void TAppForm::TimerCheckerTimer()
{
    if (!m_updateCheck)
        m_updateCheck = std::make_unique<UpdateCheckMonitor>(
            MakeUpdateCheckSetup(m_context.env(), m_context.AppTitle, m_context.AppVersion));
    if (!m_updateCheck->tick())
        return;
    TimerChecker->stop();
    QAction* updates = action(QStringLiteral("UpdateNotifications1"));
    updates->setEnabled(true);
    if (!m_updateCheck->showUpdateMenuChecked())
        updates->setChecked(false);
    if (m_updateCheck->newVersionAvailable())
        new TNewVer(m_context.env(), m_context.AppProductName, m_updateCheck->newVersionText(),
                    m_updateCheck->downloadUrl(), this);
}

void TAppForm::TimerCaptionDuzeltTimer()
{
    TimerCaptionDuzelt->stop();
    setWindowTitle(m_context.AppTitle);
}

void TAppForm::TimerPasswordAdminTimer()
{
    TimerPasswordAdmin->stop();
    AdminLogin(m_context);
}

// ---- navigation ----

void TAppForm::BitBtn3Click()
{
    if (!m_context.CheckAdmin())
        return;
    showScreen(m_productsScreen);
    for (QPushButton* b : sellButtons())
        b->setEnabled(false);
    m_sellBar->hide();
    m_productsScreen->prepare();
}

void TAppForm::BitBtn4Click()
{
    if (!m_context.CheckAdmin())
        return;
    showScreen(m_customersScreen);
    for (QPushButton* b : sellButtons())
        b->setEnabled(false);
    m_sellBar->hide();
    m_customersScreen->prepare();
}

void TAppForm::BitBtn17Click()
{
    for (QPushButton* b : sellButtons())
        b->setEnabled(false);
    m_sellBar->hide();
    showScreen(m_salesHistoryScreen);
    m_salesHistoryScreen->prepare();
}

void TAppForm::BitBtn1Click()
{
    CashCheckout(m_context, m_saleScreen->sale(), m_saleScreen->amountTendered());
}

void TAppForm::BitBtn2Click()
{
    m_saleScreen->focusList();
    SellByCredit(m_context, m_saleScreen->sale());
}

void TAppForm::ButtonSellByCardClick()
{
    CardCheckout(m_context, m_saleScreen->sale());
}

void TAppForm::ButtonSplitPaymentClick()
{
    SplitPaymentCheckout(m_context, m_saleScreen->sale());
}

// ---- menu commands ----

void TAppForm::Login1Click()
{
    TimerPasswordAdmin->start();
}

void TAppForm::Logout1Click()
{
    m_context.SetAdminMode(false);
}

void TAppForm::Backup1Click()
{
    BackupCommand(m_context.dialogs(), this, m_context.SQLConnection1(), QDir::homePath());
}

void TAppForm::Restore1Click()
{
    if (RestoreCommand(m_context.dialogs(), this, m_context.SQLConnection1(), QDir::homePath()))
        m_context.RestartApplication();
}

void TAppForm::ProductsList1Click()
{
    AnaMenuAc();
    m_saleScreen->BitBtn22Click();
}

void TAppForm::ExportProducts1Click()
{
    ExportTableCommand(m_context, DataTable::Products);
}

void TAppForm::ExportCustomers1Click()
{
    ExportTableCommand(m_context, DataTable::Customers);
}

void TAppForm::ExportPayments1Click()
{
    ExportTableCommand(m_context, DataTable::Payments);
}

void TAppForm::ExportCredits1Click()
{
    ExportTableCommand(m_context, DataTable::Credits);
}

void TAppForm::ImportProducts1Click()
{
    ImportProductsCommand(m_context);
}

void TAppForm::DeleteProducts1Click()
{
    DeleteTableCommand(m_context, DataTable::Products);
}

void TAppForm::DeleteCustomers1Click()
{
    DeleteTableCommand(m_context, DataTable::Customers);
}

void TAppForm::DeletePayments1Click()
{
    DeleteTableCommand(m_context, DataTable::Payments);
}

void TAppForm::DeleteCredits1Click()
{
    DeleteTableCommand(m_context, DataTable::Credits);
}

void TAppForm::Refund1Click()
{
    RefundCommand(m_context);
}

void TAppForm::OpenTill1Click()
{
    OpenTillCommand(m_context);
}

void TAppForm::CashIn1Click()
{
    CashMovementCommand(m_context, CashMovementKind::In);
}

void TAppForm::CashOut1Click()
{
    CashMovementCommand(m_context, CashMovementKind::Out);
}

void TAppForm::CloseTill1Click()
{
    CloseTillCommand(m_context, !m_saleScreen->sale().empty());
}

void TAppForm::OpenCashDrawer1Click()
{
    OpenCashDrawerCommand(m_context);
}

void TAppForm::KeyboardShortcuts1Click()
{
    QString text;
    const std::pair<const char*, const char*> pairs[] = {{"Del:", "Delete last entered product"},
                                                         {"ESC:", "Cancel product selection"},
                                                         {"Ctrl Alt P:", "Product List"}};
    for (const auto& [label, description] : pairs)
        text += QLatin1Char('\r') + TranslateText(label) + QStringLiteral(" \t") + TranslateText(description);
    m_context.dialogs().information(this, TranslateText("Keyboard Shortcuts"), text);
}

void TAppForm::Exit1Click()
{
    close();
}

void TAppForm::StockSheet1Click()
{
    OpenStockSheetForm(m_context);
}

void TAppForm::TopSelling1Click()
{
    OpenTopSellingForm(m_context);
}

void TAppForm::ReceiptsList1Click()
{
    OpenReceiptsWindow(m_context);
}

void TAppForm::XReport1Click()
{
    XReportCommand(m_context);
}

void TAppForm::ZReports1Click()
{
    OpenZReportsWindow(m_context);
}

void TAppForm::EditPassword1Click()
{
    EditPassword(m_context);
}

void TAppForm::CurrencySymbol1Click()
{
    const std::optional<QString> symbol =
        m_context.InputQuery(TranslateText("Currency Symbol"), TranslateText("Please enter new currency symbol:"),
                             m_context.receipts.CurrencySymbol);
    if (symbol)
        m_context.setCurrencySymbol(*symbol);
}

void TAppForm::Receipts1Click()
{
    TFormReceipts::showFor(m_context);
}

void TAppForm::PaymentTypes1Click()
{
    if (!m_context.CheckAdmin())
        return;
    PaymentTypesWindow::showModalFor(m_context);
    readPaymentTypes();
    if (m_sellBar->isVisible())
        allowSelling(!m_saleScreen->sale().empty());
}

void TAppForm::Database1Click()
{
    if (m_context.CheckAdmin())
        DatabaseSettingsWindow::showModalFor(m_context);
}

void TAppForm::AskPrint1Click()
{
    // The item toggles its own tick before this runs.
    m_context.setAskBeforePrinting(action(QStringLiteral("AskPrint1"))->isChecked());
}

void TAppForm::PrintTemplate1Click()
{
    TPrintTemplateForm::showModalFor(m_context);
}

void TAppForm::ChangeInterface1Click()
{
    ArayuzuDegistir(false);
}

void TAppForm::ClassicalInterface1Click()
{
    ArayuzuDegistir(true);
}

void TAppForm::ArayuzuDegistir(bool Klasik)
{
    QCoreApplication::processEvents();
    ThemeIndex = NextThemeIndex(ThemeIndex, Klasik);
    ApplyTheme(ThemeIndex);
    QCoreApplication::processEvents();
    setWindowTitle(ThemeNames.at(ThemeIndex));
    m_context.settings().set(SettingKey::VisualStyle, QString::number(ThemeIndex));
    // A running timer is not restarted: the caption returns three seconds after the first of several switches.
    if (!TimerCaptionDuzelt->isActive())
        TimerCaptionDuzelt->start();
    raise();
    activateWindow();
}

void TAppForm::ResetToDefaults1Click()
{
    if (m_context.dialogs().message(this, m_context.AppTitle, TranslateText("Restart Application?"),
                                    Dialogs::Icon::Question, Dialogs::Yes | Dialogs::No)
        != Dialogs::Yes)
        return;
    ColumnSaveEnabled = false;
    QFile::remove(m_context.DataFolder + QStringLiteral("settings.ini"));
    QFile::remove(m_context.DataFolder + QStringLiteral("PrintTemplate.txt"));
    QFile::remove(m_context.DataFolder + QStringLiteral("RefundTemplate.txt"));
    QCoreApplication::processEvents();
    m_context.env().startDetached(m_context.env().executablePath(), {}, m_context.DataFolder);
    m_context.env().quitApplication();
}

void TAppForm::OnlineHelp1Click()
{
    const QString page = m_context.AppProductName.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    m_context.env().openUrl(QUrl(QStringLiteral("https://www.zelkora.com/help/") + page + QLatin1Char('/')));
}

void TAppForm::UpdateNotifications1Click()
{
    UpdateStore(UpdateStore::DefaultPath()).WriteShowUpdate(action(QStringLiteral("UpdateNotifications1"))->isChecked());
}

void TAppForm::Language1Click()
{
    TTranslateForm::showModalFor(m_context);
}

void TAppForm::SendFeedback1Click()
{
    auto* feedback = new TFeedbackForm(m_context.dialogs(), m_context.AppTitle, m_context.AppProductName,
                                      m_context.AppVersion, this);
    m_context.dialogs().execModal(*feedback);
}

void TAppForm::About1Click()
{
    QDialog about(this);
    about.setObjectName(QStringLiteral("AboutBox"));
    about.setWindowTitle(TranslateText("About"));
    auto* layout = new QVBoxLayout(&about);
    auto* icon = new QLabel(&about);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(m_context.AppProductName + QLatin1Char(' ') + m_context.AppVersion, &about);
    name->setObjectName(QStringLiteral("ProductVersionLabel"));
    name->setAlignment(Qt::AlignCenter);
    QFont f = name->font();
    f.setPointSize(16);
    f.setBold(true);
    name->setFont(f);
    auto* link = new QLabel(QStringLiteral("<a href=\"https://www.zelkora.com/\">www.zelkora.com</a>"), &about);
    link->setAlignment(Qt::AlignCenter);
    link->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    buttons->button(QDialogButtonBox::Ok)->setText(TranslateText("OK"));
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(link);
    layout->addWidget(buttons);
    m_context.dialogs().execModal(about);
}

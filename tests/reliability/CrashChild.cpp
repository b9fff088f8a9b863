// The child of the crash test: sells the planned sales of one run through the program's own sale screen and
// checkouts, one after another, until it is killed. Its only output is "ready" once the database is open and
// "sale <id>" before each sale is set up; anything unexpected goes to stderr with exit code 2.

#include "ChildProgram.h"
#include "CrashPlan.h"

#include "app/ui/TAppForm.h"
#include "pos/ui/SaleScreen.h"
#include "store/Database.h"
#include "support/FixedEnvironment.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include "pos/SaleListModel.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const QString& why)
{
    ChildFail("crash_child", why);
}

// A control of a window, found by its objectName.
template <typename Control>
Control* control(const QObject& window, const char* name)
{
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        fail(QStringLiteral("no control named ") + QLatin1String(name));
    return found;
}

void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// The sale's own products, created in one transaction before the sale.
void stockProducts(Database& db, const crashplan::Sale& sale)
{
    if (!db.BeginTransaction())
        fail(QStringLiteral("cannot begin the product transaction"));
    for (const crashplan::Line& line : sale.lines) {
        if (!db.ExecuteDirect(QStringLiteral("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?);"),
                              {line.barcode, line.name, QString::number(line.priceCents / 100.0, 'f', 2),
                               crashplan::kInitialStock}))
            fail(QStringLiteral("cannot insert product ") + line.barcode);
    }
    if (!db.Commit())
        fail(QStringLiteral("cannot commit the products"));
}

void sell(TAppForm& form, ScriptedDialogs& dialogs, const crashplan::Sale& sale, const QString& pdf)
{
    SaleScreen& screen = *form.saleScreen();
    for (const crashplan::Line& line : sale.lines) {
        if (!ScanIntoSale(screen, line.barcode, line.quantity))
            fail(QStringLiteral("product not found: ") + line.barcode);
    }
    if (screen.saleList()->rowCount() != int(sale.lines.size()))
        fail(QStringLiteral("the sale list does not hold the sale ") + sale.id);

    dialogs.clear();
    if (sale.kind == crashplan::Kind::Cash) {
        dialogs.messageAnswers = {Dialogs::Yes, sale.cashPrinted ? Dialogs::Yes : Dialogs::No};
        if (sale.cashPrinted)
            dialogs.printAnswers = {pdf};
        form.sellByCashButton()->click();
    } else {
        const bool printed = sale.kind == crashplan::Kind::CreditPrinted;
        dialogs.messageAnswers = {printed ? Dialogs::Yes : Dialogs::No};
        if (printed)
            dialogs.printAnswers = {pdf};
        const QString customer = crashplan::Customers().at(sale.customer);
        dialogs.modalScripts.push_back([customer](QDialog& dialog) {
            auto* customers = control<QComboBox>(dialog, "ComboBox1");
            customers->setCurrentIndex(customers->findText(customer));
            control<QPushButton>(dialog, "BitBtn1")->click();
            return dialog.result();
        });
        form.sellByCreditButton()->click();
    }
    for (const ScriptedDialogs::Shown& shown : dialogs.shown) {
        const bool expected = shown.kind == QLatin1String("print")
                              || (shown.kind == QLatin1String("message")
                                  && (shown.text == QLatin1String("Confirm?") || shown.text == QLatin1String("Print?")));
        if (!expected)
            fail(QStringLiteral("unexpected %1 in sale %2: %3").arg(shown.kind, sale.id, shown.text));
    }
    if (screen.saleList()->rowCount() != 0)
        fail(QStringLiteral("the sale list was not cleared after sale ") + sale.id);
}

} // namespace

// crash_child <program folder> <seed> <run>
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4)
        fail(QStringLiteral("usage: crash_child <program folder> <seed> <run>"));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const quint32 seed = quint32(std::strtoul(argv[2], nullptr, 10));
    const int run = std::atoi(argv[3]);

    FixedEnvironment env;
    UseProgramFolder(env, folder);
    ScriptedDialogs dialogs;
    TAppForm form(env, dialogs);
    form.TimerChecker->stop();
    bool opened = false;
    QObject::connect(&form, &TAppForm::databaseOpened, [&opened] { opened = true; });
    form.show();
    while (!opened)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!dialogs.shown.empty())
        fail(QStringLiteral("start-up showed: ") + dialogs.shown.front().text);
    say(QStringLiteral("ready"));

    const QString pdf = env.exeFolder + QStringLiteral("printed.pdf");
    for (int index = 0; index < 100000; ++index) {
        const crashplan::Sale sale = crashplan::PlanSale(seed, run, index);
        say(QStringLiteral("sale ") + sale.id);
        stockProducts(form.context().SQLConnection1(), sale);
        sell(form, dialogs, sale, pdf);
        // Let the window's timers run (the column widths are saved to the settings file on a timer, too).
        QCoreApplication::processEvents();
    }
    return 0;
}

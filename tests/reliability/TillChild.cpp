// One till of the two-till test: opens the shop's database as the program does (DatabaseUrl and TillName in
// its settings.ini), then sells random sales through the sale screen's list and the cash and credit checkouts.
// Each completed sale is written to the output file as a line:
//   cash <receipt number> <barcode>*<quantity> ...     or     credit <customer id> <barcode>*<quantity> ...
// Anything unexpected (a message other than "Confirm?", a sale left on the screen) goes to stderr, exit code 2.

#include "ChildProgram.h"
#include "TwoTillsShop.h"

#include "app/AppContext.h"
#include "pos/SaleListModel.h"
#include "pos/ui/CashCheckout.h"
#include "pos/ui/SaleScreen.h"
#include "pos/ui/TVeresiyeForm.h"
#include "support/FixedEnvironment.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

[[noreturn]] void fail(const QString& why)
{
    ChildFail("till_child", why);
}

struct Line
{
    QString barcode;
    qint64 quantity;
};

// One to four different products in random order, one to three units each.
std::vector<Line> PlanSale(std::mt19937& random)
{
    std::vector<int> products(twotills::kProducts);
    for (int i = 0; i < twotills::kProducts; ++i)
        products[size_t(i)] = i;
    std::shuffle(products.begin(), products.end(), random);
    const size_t count = 1 + random() % 4;
    std::vector<Line> lines;
    for (size_t i = 0; i < count; ++i)
        lines.push_back({twotills::Barcode(products[i]), qint64(1 + random() % 3)});
    return lines;
}

void scan(SaleScreen& screen, const Line& line)
{
    if (!ScanIntoSale(screen, line.barcode, line.quantity))
        fail(QStringLiteral("product not found: ") + line.barcode);
}

} // namespace

// till_child <program folder> <seed> <sales> <output file>
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 5)
        fail(QStringLiteral("usage: till_child <program folder> <seed> <sales> <output file>"));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    std::mt19937 random(quint32(std::strtoul(argv[2], nullptr, 10)));
    const int sales = std::atoi(argv[3]);

    FixedEnvironment env;
    UseProgramFolder(env, folder);
    ScriptedDialogs dialogs;
    AppContext context(env, dialogs);
    if (!context.openDatabase() || !context.SQLConnection1().recordsTill())
        fail(QStringLiteral("the shop's server did not open: ") + dialogs.messageTexts().join(u'|'));
    SaleScreen screen(context);
    screen.show();

    QStringList sold;
    for (int sale = 0; sale < sales; ++sale) {
        const std::vector<Line> lines = PlanSale(random);
        for (const Line& line : lines)
            scan(screen, line);
        if (screen.saleList()->rowCount() != int(lines.size()))
            fail(QStringLiteral("the sale list does not hold sale %1").arg(sale));

        QString record;
        dialogs.clear();
        if (random() % 4 == 0) {
            const int customer = int(random() % twotills::Customers().size());
            dialogs.modalScripts.push_back([&record, customer](QDialog& dialog) {
                auto& window = static_cast<TVeresiyeForm&>(dialog);
                auto* customers = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
                customers->setCurrentIndex(customers->findText(twotills::Customers().at(customer)));
                record = QStringLiteral("credit ") + window.CustomerIds.value(customers->currentIndex());
                window.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
                return window.result();
            });
            SellByCredit(context, screen.sale());
        } else {
            record = QStringLiteral("cash %1").arg(context.receiptNumbers().next());
            dialogs.messageAnswers = {Dialogs::Yes};
            CashCheckout(context, screen.sale());
        }
        const QStringList shown = dialogs.messageTexts();
        if (!shown.isEmpty() && shown != QStringList{QStringLiteral("Confirm?")})
            fail(QStringLiteral("sale %1 showed: %2").arg(sale).arg(shown.join(u'|')));
        if (screen.saleList()->rowCount() != 0)
            fail(QStringLiteral("sale %1 was left on the screen").arg(sale));
        for (const Line& line : lines)
            record += QStringLiteral(" %1*%2").arg(line.barcode).arg(line.quantity);
        sold << record;
        QCoreApplication::processEvents();
    }

    QSaveFile out(QString::fromLocal8Bit(argv[4]));
    if (!out.open(QIODevice::WriteOnly) || out.write(sold.join(u'\n').toUtf8() + '\n') < 0 || !out.commit())
        fail(QStringLiteral("cannot write ") + out.fileName());
    return 0;
}

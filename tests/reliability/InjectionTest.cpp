#include "pos/SaleFixture.h"

#include "catalogue/ui/CustomersScreen.h"
#include "catalogue/ProductList.h"
#include "catalogue/ui/ProductsScreen.h"
#include "catalogue/ui/StockSpinBox.h"
#include "catalogue/ui/TUrunlerForm.h"
#include "reports/SalesHistory.h"
#include "reports/ui/SalesHistoryScreen.h"
#include "support/FindControl.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include "pos/SaleListModel.h"

#include <QTreeView>

// Text that would change an SQL statement pasted together from it, LIKE wildcards, quotes, an emoji and a
// 10,000-character value: typed wherever a user types a barcode, a product name, a customer name or a search,
// and imported; each is stored and found again exactly, and the tables stay as they were.
//
// Letters typed into a barcode box or scanned are upper case by design, so a barcode is stored as its upper-case
// form. The picker's search is a LIKE search in which "%" and "_" are wildcards: searching "%" or "_" lists every
// product (the product of that name among them); every other text finds exactly the products that contain it.

namespace {

struct Value
{
    const char* label;
    QString text;
};

const std::vector<Value>& Values()
{
    static const std::vector<Value> values{
        {"quote", QStringLiteral("'")},
        {"or 1=1", QStringLiteral("' OR 1=1--")},
        {"drop table", QStringLiteral("'); DROP TABLE urunler;--")},
        {"percent", QStringLiteral("%")},
        {"underscore", QStringLiteral("_")},
        {"double quote", QStringLiteral("\"")},
        {"emoji", QStringLiteral("\U0001F375")},
        {"10,000 characters", QStringLiteral("x'%_\"").repeated(2000)},
    };
    return values;
}

// The text as a keyboard brings it, one key event per character (so an emoji is one event of two UTF-16
// units); a long text is pasted into a text box.
void typeText(QWidget* widget, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && text.size() > 100) {
        edit->insert(text);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
        i += units - 1;
    }
}

void clearAndType(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

class InjectionTest : public SaleFixture
{
protected:
    QString barcodeOf(const Value& v) const { return v.text.toUpper(); }

    QStringList cells(const QString& sql, const std::vector<QVariant>& params)
    {
        const QueryResult result = form->context().SQLConnection1().Query(sql, params);
        QStringList out;
        for (const auto& row : result.rows)
            for (const DbValue& value : row)
                out << value.asText();
        return out;
    }
    void expectTablesIntact(qint64 products, qint64 customers, qint64 payments, qint64 credits)
    {
        EXPECT_EQ(query(QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        EXPECT_EQ(query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")),
                  (QStringList{"cash_movements", "musteriler", "odemeler", "sale_records", "sqlite_sequence",
                               "tender_types", "tenders", "till_sessions", "urunler", "veresiyeler", "z_report_tenders",
                               "z_reports"}));
        EXPECT_EQ(query(QStringLiteral("SELECT (SELECT count(*) FROM urunler), (SELECT count(*) FROM musteriler), "
                                       "(SELECT count(*) FROM odemeler), (SELECT count(*) FROM veresiyeler)")),
                  QStringList{QStringLiteral("%1|%2|%3|%4").arg(products).arg(customers).arg(payments).arg(credits)});
    }
};

} // namespace

TEST_F(InjectionTest, HostileTextIsStoredAndFoundAgainExactlyEverywhereItIsTyped)
{
    env.separator = QLatin1Char(','); // the import's separator; "'); DROP TABLE urunler;--" holds a semicolon
    TAppForm& main = start();
    main.context().SetAdminMode(true);
    const auto& values = Values();
    const qint64 n = qint64(values.size());

    // Products screen: barcode and name typed, ADD; typed again, the product shows; UPDATE changes only it.
    main.findChild<QPushButton*>(QStringLiteral("BitBtn3"))->click();
    const ProductsScreen& products = *main.productsScreen();
    QLineEdit* barcodeBox = FindControl<QComboBox>(products, "ComboBox1")->lineEdit();
    auto* nameBox = FindControl<QLineEdit>(products, "Edit2");
    auto* stockBox = FindControl<StockSpinBox>(products, "SpinEdit2");
    auto* addProductButton = FindControl<QPushButton>(products, "BitBtn5");
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        clearAndType(barcodeBox, v.text);
        ASSERT_TRUE(addProductButton->isEnabled()) << "a new barcode";
        clearAndType(nameBox, v.text);
        clearAndType(FindControl<QLineEdit>(products, "Edit3"), QStringLiteral("1.50"));
        stockBox->setValue(9);
        addProductButton->click();
        EXPECT_EQ(cells(QStringLiteral("SELECT urunadi, stok FROM urunler WHERE barkod=?"), {barcodeOf(v)}),
                  (QStringList{v.text, "9"}));

        clearAndType(barcodeBox, QStringLiteral("X"));
        clearAndType(barcodeBox, v.text);
        EXPECT_TRUE(nameBox->text() == v.text) << "the name shows as typed";
        stockBox->setValue(7);
        FindControl<QPushButton>(products, "BitBtn8")->click();
        EXPECT_EQ(stockOf(barcodeOf(v)), 7);
    }
    EXPECT_EQ(query(QStringLiteral("SELECT DISTINCT stok FROM urunler")), QStringList{"7"});

    // Customers screen: the name typed, ADD; typed again, the customer is found.
    main.findChild<QPushButton*>(QStringLiteral("BitBtn4"))->click();
    const CustomersScreen& customers = *main.customersScreen();
    QLineEdit* customerBox = FindControl<QComboBox>(customers, "ComboBox2")->lineEdit();
    auto* addCustomerButton = FindControl<QPushButton>(customers, "BitBtn6");
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        clearAndType(customerBox, v.text);
        ASSERT_TRUE(addCustomerButton->isEnabled()) << "a new customer";
        addCustomerButton->click();
        EXPECT_EQ(cells(QStringLiteral("SELECT count(*) FROM musteriler WHERE musteriadi=?"), {v.text}),
                  QStringList{"1"});
        clearAndType(customerBox, QStringLiteral("X"));
        clearAndType(customerBox, v.text);
        EXPECT_TRUE(FindControl<QPushButton>(customers, "BitBtn11")->isEnabled()) << "found: DELETE CUSTOMER offered";
    }

    // Sale screen: the barcode scanned, sold for cash; scanned again, sold on credit to the customer of that name.
    main.AnaMenuAc();
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        for (const bool credit : {false, true}) {
            typeText(control<QTreeView>("ListView1"), v.text);
            QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Return);
            ASSERT_EQ(screen().saleList()->rowCount(), 1);
            EXPECT_TRUE(screen().saleList()->cell(0, SaleListModel::Product) == v.text);
            dialogs.messageAnswers = {Dialogs::Yes};
            if (!credit) {
                main.sellByCashButton()->click();
            } else {
                dialogs.modalScripts.push_back([&v](QDialog& dialog) {
                    auto* customerList = FindControl<QComboBox>(dialog, "ComboBox1");
                    customerList->setCurrentIndex(customerList->findText(v.text));
                    FindControl<QPushButton>(dialog, "BitBtn1")->click();
                    return dialog.result();
                });
                main.sellByCreditButton()->click();
            }
            EXPECT_EQ(screen().saleList()->rowCount(), 0);
        }
        EXPECT_EQ(cells(QStringLiteral("SELECT barkod, urunadi FROM odemeler WHERE urunadi=?"), {v.text}),
                  (QStringList{barcodeOf(v), v.text}));
        EXPECT_EQ(cells(QStringLiteral("SELECT musteriadi, barkod FROM veresiyeler WHERE urunadi=?"), {v.text}),
                  (QStringList{v.text, barcodeOf(v)}));
        EXPECT_EQ(stockOf(barcodeOf(v)), 5);
    }
    EXPECT_TRUE(dialogs.messageTexts().filter(QStringLiteral("Exception")).isEmpty());

    // Customers screen: the customer's open line shows with the product's name.
    main.findChild<QPushButton*>(QStringLiteral("BitBtn4"))->click();
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        clearAndType(customerBox, v.text);
        FindControl<QPushButton>(customers, "BitBtn13")->click();
        const auto* openLines = FindControl<QListWidget>(customers, "CheckListBox1");
        ASSERT_EQ(openLines->count(), 1);
        EXPECT_TRUE(openLines->item(0)->text().contains(QStringLiteral(" 1 * ") + v.text + QStringLiteral(" = 1.50")));
    }

    // Product picker: the search typed.
    main.AnaMenuAc();
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        QStringList found;
        dialogs.modalScripts.push_back([&](QDialog& dialog) {
            auto& picker = static_cast<TUrunlerForm&>(dialog);
            typeText(FindControl<QLineEdit>(picker, "Edit1"), v.text);
            for (int row = 0; row < picker.model()->rowCount(); ++row)
                found << picker.model()->item(row).barcode;
            return int(QDialog::Rejected);
        });
        main.action(QStringLiteral("ProductsList1"))->trigger();
        ASSERT_TRUE(found.contains(barcodeOf(v)));
        if (v.text == QLatin1String("%") || v.text == QLatin1String("_")) {
            EXPECT_EQ(found.size(), n) << "a wildcard";
        } else {
            for (const QString& barcode : found)
                EXPECT_TRUE(barcode.contains(v.text, Qt::CaseInsensitive)) << barcode.left(40).toStdString();
        }
    }

    // Import: each value as a product's name, under the barcode I + the value.
    QByteArray csv = "Barcode,Product,Price,Stock\r\n";
    for (const Value& v : values)
        csv += ("I" + v.text + "," + v.text + ",2.00,1\r\n").toUtf8();
    QFile file(programFolder() + QStringLiteral("import.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(csv);
    file.close();
    dialogs.fileAnswers.push_back(file.fileName());
    main.action(QStringLiteral("ImportProducts1"))->trigger();
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("Imported: %1 entries").arg(n));
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        EXPECT_EQ(cells(QStringLiteral("SELECT urunadi FROM urunler WHERE barkod=?"), {QStringLiteral("I") + v.text}),
                  QStringList{v.text});
    }

    // Sales history, after a restart (the filter lists are filled once in a run): each product and customer chosen
    // in the filters narrows the lists to its own lines.
    form.reset();
    start();
    form->findChild<QPushButton*>(QStringLiteral("BitBtn17"))->click();
    SalesHistoryScreen& history = *form->salesHistoryScreen();
    FindControl<QDateEdit>(history, "DateTimePicker1")->setDate(QDate(2000, 1, 1));
    FindControl<QDateEdit>(history, "DateTimePicker2")->setDate(QDate(2100, 1, 1));
    auto* productFilter = FindControl<QComboBox>(history, "ComboBox4");
    auto* customerFilter = FindControl<QComboBox>(history, "ComboBox3");
    for (const Value& v : values) {
        SCOPED_TRACE(v.label);
        productFilter->setCurrentIndex(productFilter->findText(v.text));
        customerFilter->setCurrentIndex(customerFilter->findText(v.text));
        ASSERT_GT(productFilter->currentIndex(), 0);
        ASSERT_GT(customerFilter->currentIndex(), 0);
        FindControl<QPushButton>(history, "BitBtn18")->click();
        ASSERT_EQ(history.paymentsModel()->rowCount(), 1);
        EXPECT_TRUE(history.paymentsModel()->text(0, PaymentsListModel::Product) == v.text);
        FindControl<QPushButton>(history, "BitBtn19")->click();
        ASSERT_EQ(history.creditsModel()->rowCount(), 1);
        EXPECT_TRUE(history.creditsModel()->text(0, CreditsListModel::Customer) == v.text);
    }

    expectTablesIntact(2 * n, n, n, n);
}

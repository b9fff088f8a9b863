#include "pos/ui/RefundStartWindow.h"
#include "pos/ui/RefundWindow.h"
#include "store/CreditLinesTable.h"
#include "store/CustomersTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/SaleRecordsTable.h"
#include "store/TenderTypesTable.h"
#include "store/TendersTable.h"
#include "support/ContextFixture.h"
#include "support/FindControl.h"
#include "support/QueryRows.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

// The Refund window and Operations > "Refund...", built on a context, on both engines: a receipt's lines refunded
// in part with the keyboard, stored, printed to the receipt folder and back in stock; a sale on account; a refund
// without a receipt in administrator mode.

namespace {

struct SoldLine
{
    QString barcode;
    QString name;
    qint64 quantity = 0;
    QString price;
};

// The Refund window as a user reads it: the table's rows (product, price, sold, refunded, the quantity chosen and
// the tick), the payment type and the total.
QStringList Rows(QDialog& window)
{
    auto* table = FindControl<QTableWidget>(window, "LinesTable");
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            if (!table->isColumnHidden(column))
                cells << table->item(row, column)->text();
        const QString number = QString::number(row + 1);
        auto* quantity = FindControl<QSpinBox>(window, ("RefundQuantity" + number).toLatin1().constData());
        cells << QStringLiteral("%1 of %2").arg(quantity->value()).arg(quantity->maximum());
        cells << (FindControl<QCheckBox>(window, ("BackToStock" + number).toLatin1().constData())->isChecked()
                      ? QStringLiteral("stock")
                      : QStringLiteral("no stock"));
        rows << cells.join(u'|');
    }
    return rows;
}

// The controls Tab goes through from the one named, by their names (a spin box's own line edit by its box's).
QStringList TabOrder(QDialog& window, const char* from, int count)
{
    FindControl<QWidget>(window, from)->setFocus();
    QStringList order;
    for (int i = 0; i < count && window.focusWidget(); ++i) {
        QWidget* focused = window.focusWidget();
        if (qobject_cast<QAbstractSpinBox*>(focused->parentWidget()))
            focused = focused->parentWidget();
        order << focused->objectName();
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    }
    return order;
}

class RefundWindowTest : public ContextFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        ContextFixture::SetUp();
        if (!HasFatalFailure() && GetParam() == Engine::Postgres)
            useNewDatabase(Engine::Postgres);
    }

    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }

    // Receipt number 20 next, receipts saved to the folder; COFFEE (stock 7) and TEA (stock 4) on the shelf.
    AppContext& startShop()
    {
        QDir().mkpath(receiptFolder());
        QFile file(dataFile(QStringLiteral("RefundTemplate.txt")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("REFUND [RECEIPTNO] of [ORIGINALRECEIPTNO]\r\n[LIST]\r\nTotal: [TOTAL]\r\n[TENDERS]\r\n");
        file.close();
        writeSettings({QStringLiteral("ReceiptNumber=20"), QStringLiteral("ReceiptFolder=") + receiptFolder()});
        AppContext& ctx = startContext();
        EXPECT_TRUE(ProductsTable(db()).insert("C1", "COFFEE", 2.5, 7));
        EXPECT_TRUE(ProductsTable(db()).insert("T1", "TEA", 1.5, 4));
        return ctx;
    }

    Database& db() { return context->SQLConnection1(); }
    QStringList query(const QString& sql) { return QueryRows(db(), sql); }
    qint64 stockOf(const QString& barcode) { return ProductsTable(db()).withBarcode(barcode)->front().stock.asInteger(); }

    // A paid sale of this till, stored as a checkout stores it.
    void storeSale(const QString& saleId, qint64 receiptNumber, const std::vector<TenderRow>& tenders,
                   const std::vector<SoldLine>& lines)
    {
        const QString at = QStringLiteral("2025-01-30 10:00:00");
        qint64 total = 0;
        for (const TenderRow& tender : tenders)
            total += tender.amountCents;
        ASSERT_TRUE(SaleRecordsTable(db()).insert({saleId, db().tillName(), receiptNumber, at, SaleRecordKind::Sale,
                                                   std::nullopt, QString(), total, 0, total}));
        ASSERT_TRUE(TendersTable(db()).insert(saleId, tenders));
        for (const SoldLine& line : lines)
            ASSERT_TRUE(PaymentsTable(db()).insert({saleId, at}, receiptNumber, line.barcode, line.name, line.quantity,
                                                   line.price));
    }

    // Opens the Refund window of the sale as the receipts list does; the script drives it.
    bool refund(const QString& saleId, const std::function<void(QDialog&)>& script)
    {
        dialogs.modalScripts.push_back([script](QDialog& window) {
            window.show();
            QApplication::setActiveWindow(&window);
            script(window);
            return window.result();
        });
        return OpenRefundWindow(*context, saleId);
    }

    // Operations > "Refund..." with the receipt number typed (and Enter); the second script drives the Refund
    // window, if it opens.
    void refundCommand(const QString& typed, const std::function<void(QDialog&)>& script = {})
    {
        dialogs.modalScripts.push_back([this, typed](QDialog& window) {
            window.show();
            EXPECT_EQ(window.objectName(), "RefundStartWindow");
            // On a shared server the till is chosen too, this one first.
            auto* till = window.findChild<QComboBox*>("TillCombo");
            EXPECT_EQ(till != nullptr, GetParam() == Engine::Postgres);
            if (till)
                EXPECT_EQ(till->itemText(0), "Till 1");
            auto* number = FindControl<QLineEdit>(window, "ReceiptNumberEdit");
            EXPECT_TRUE(number->hasFocus() || !QApplication::focusWidget());
            QTest::keyClicks(number, typed);
            QTest::keyClick(number, Qt::Key_Return);
            return window.result();
        });
        if (script)
            dialogs.modalScripts.push_back([script](QDialog& window) {
                window.show();
                QApplication::setActiveWindow(&window);
                script(window);
                return window.result();
            });
        RefundCommand(*context);
    }

    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_P(RefundWindowTest, PartOfAReceiptIsRefundedWithTheKeyboardStoredPrintedAndPutBackInStock)
{
    startShop();
    storeSale("s1", 11, {{kCashTender, 500, {}, {}}, {kCardTender, 550, {}, {}}},
              {{"C1", "COFFEE", 3, "2.50"}, {"T1", "TEA", 2, "1.50"}});

    // Esc leaves the window and stores nothing.
    EXPECT_FALSE(refund("s1", [](QDialog& window) {
        QTest::keyClick(FindControl<QSpinBox>(window, "RefundQuantity1"), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }));
    EXPECT_EQ(query("SELECT count(*) FROM sale_records WHERE kind = 'refund'"), QStringList{"0"});

    const bool refunded = refund("s1", [this](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Refund");
        auto* table = FindControl<QTableWidget>(window, "LinesTable");
        QStringList titles;
        for (int column = 0; column < table->columnCount(); ++column)
            titles << table->horizontalHeaderItem(column)->text();
        EXPECT_EQ(titles, (QStringList{"Product", "Price", "Sold", "Refunded", "Refund", "Back to stock"}));
        EXPECT_EQ(Rows(window), (QStringList{"COFFEE|2.50|3|0|0 of 3|stock", "TEA|1.50|2|0|0 of 2|stock"}));
        EXPECT_TRUE(FindControl<QLabel>(window, "ReceiptLabel")->text().startsWith("Receipt: 11"));
        auto* tender = FindControl<QComboBox>(window, "TenderCombo");
        EXPECT_EQ(tender->currentData().toString(), kCashTender); // cash was among the split's tenders
        auto* complete = FindControl<QPushButton>(window, "CompleteButton");
        EXPECT_FALSE(complete->isEnabled());

        // Every control is named for a screen reader and reached with Tab, in the order of the window.
        for (const char* name : {"ReceiptLabel", "LinesTable", "RefundQuantity1", "BackToStock1", "RefundQuantity2",
                                 "BackToStock2", "TenderCombo", "ReasonEdit", "CompleteButton", "CancelButton"}) {
            SCOPED_TRACE(name);
            auto* control = FindControl<QWidget>(window, name);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
            EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
        }
        EXPECT_EQ(TabOrder(window, "ReceiptLabel", 8),
                  (QStringList{"ReceiptLabel", "LinesTable", "RefundQuantity1", "BackToStock1", "RefundQuantity2",
                               "BackToStock2", "TenderCombo", "ReasonEdit"}));

        // One COFFEE back to stock, one TEA not (opened), the reason, Enter.
        auto* coffee = FindControl<QSpinBox>(window, "RefundQuantity1");
        coffee->setFocus();
        QTest::keyClick(coffee, Qt::Key_Up);
        EXPECT_TRUE(complete->isEnabled());
        auto* tea = FindControl<QSpinBox>(window, "RefundQuantity2");
        tea->setFocus();
        QTest::keyClicks(tea, "5"); // beyond what is left: not taken
        EXPECT_LE(tea->value(), 2);
        tea->selectAll();
        QTest::keyClicks(tea, "1");
        auto* teaStock = FindControl<QCheckBox>(window, "BackToStock2");
        teaStock->setFocus();
        QTest::keyClick(teaStock, Qt::Key_Space);
        EXPECT_FALSE(teaStock->isChecked());
        EXPECT_EQ(FindControl<QLabel>(window, "TotalValue")->text(), "$ 4.00");
        QTest::keyClicks(FindControl<QLineEdit>(window, "ReasonEdit"), "opened");
        dialogs.messageAnswers.push_back(Dialogs::Yes); // "Confirm?"
        QTest::keyClick(FindControl<QLineEdit>(window, "ReasonEdit"), Qt::Key_Return);
        EXPECT_EQ(window.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(refunded);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Confirm?"});

    EXPECT_EQ(query("SELECT kind, receipt_no, original_sale_id, reason, total_cents FROM sale_records "
                    "WHERE kind = 'refund'"),
              QStringList{"refund|20|s1|opened|-400"});
    EXPECT_EQ(query("SELECT t.tender_type, t.amount_cents FROM tenders t JOIN sale_records r ON r.sale_id = t.sale_id "
                    "WHERE r.kind = 'refund'"),
              QStringList{"Cash|-400"});
    EXPECT_EQ(query("SELECT barkod, adet, fisno FROM odemeler WHERE refund_of IS NOT NULL ORDER BY barkod"),
              (QStringList{"C1|-1|20", "T1|-1|20"}));
    EXPECT_EQ(stockOf("C1"), 8);
    EXPECT_EQ(stockOf("T1"), 4);
    EXPECT_EQ(context->receiptNumbers().next(), 21);
    const QByteArray receipt = fileBytes(receiptFolder() + QStringLiteral("/20.txt"));
    EXPECT_TRUE(receipt.startsWith("\xEF\xBB\xBFREFUND 20 of 11\r\n")) << receipt.constData();
    EXPECT_TRUE(receipt.contains("Total: $ -4.00")) << receipt.constData();

    // The window opened again shows what is left; Complete stays off until something is chosen.
    refund("s1", [](QDialog& window) {
        EXPECT_EQ(Rows(window), (QStringList{"COFFEE|2.50|3|1|0 of 2|stock", "TEA|1.50|2|1|0 of 1|stock"}));
        EXPECT_FALSE(FindControl<QPushButton>(window, "CompleteButton")->isEnabled());
        window.reject();
    });
}

TEST_P(RefundWindowTest, ARefundOfASaleOnAccountGoesBackToTheAccountAndLowersWhatTheCustomerOwes)
{
    startShop();
    ASSERT_TRUE(CustomersTable(db()).insert("Ann"));
    const qint64 ann = CustomersTable(db()).named("Ann")->front().id;
    const QString at = QStringLiteral("2025-01-30 10:00:00");
    ASSERT_TRUE(SaleRecordsTable(db()).insert({"a1", db().tillName(), std::nullopt, at, SaleRecordKind::Sale, ann,
                                               "Ann", 750, 0, 750}));
    ASSERT_TRUE(TendersTable(db()).insert("a1", {{kAccountTender, 750, {}, {}}}));
    ASSERT_TRUE(CreditLinesTable(db()).insert({"a1", at}, ann, "Ann", "C1", "COFFEE", 3, "2.50"));

    EXPECT_TRUE(refund("a1", [this](QDialog& window) {
        auto* tender = FindControl<QComboBox>(window, "TenderCombo");
        EXPECT_EQ(tender->count(), 1);
        EXPECT_EQ(tender->currentText(), "Account");
        auto* coffee = FindControl<QSpinBox>(window, "RefundQuantity1");
        coffee->setFocus();
        QTest::keyClicks(coffee, "2");
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        QTest::keyClick(coffee, Qt::Key_Enter);
    }));
    EXPECT_EQ(query("SELECT musteriadi, adet, odendimi FROM veresiyeler ORDER BY id"),
              (QStringList{"Ann|3|0", "Ann|-2|0"}));
    EXPECT_EQ(query("SELECT t.tender_type, t.amount_cents FROM tenders t JOIN sale_records r ON r.sale_id = t.sale_id "
                    "WHERE r.kind = 'refund'"),
              QStringList{"Account|-500"});
    EXPECT_EQ(stockOf("C1"), 9);
}

TEST_P(RefundWindowTest, TheRefundCommandFindsTheReceiptByItsNumberAndRefundsWithoutOneOnlyForTheAdministrator)
{
    startShop();
    storeSale("s1", 11, {{kCardTender, 250, {}, {}}}, {{"C1", "COFFEE", 1, "2.50"}});

    // A number without a sale says so.
    refundCommand("99");
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"There is no sale with this receipt number."});
    dialogs.clear();

    // The receipt's number opens its Refund window, paid back by card as it was paid.
    refundCommand("11", [](QDialog& window) {
        EXPECT_EQ(window.objectName(), "RefundWindow");
        EXPECT_EQ(Rows(window), QStringList{"COFFEE|2.50|1|0|0 of 1|stock"});
        EXPECT_EQ(FindControl<QComboBox>(window, "TenderCombo")->currentData().toString(), kCardTender);
        window.reject();
    });
    EXPECT_EQ(dialogs.modalWindows, (QStringList{"RefundStartWindow", "RefundStartWindow", "RefundWindow"}));
    dialogs.clear();

    // No number: only in administrator mode.
    refundCommand("");
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Only an administrator can refund without a receipt."});
    dialogs.clear();

    context->SetAdminMode(true);
    refundCommand("", [this](QDialog& window) {
        EXPECT_EQ(FindControl<QLabel>(window, "ReceiptLabel")->text(), "Refund without a receipt");
        auto* barcode = FindControl<QLineEdit>(window, "BarcodeEdit");
        EXPECT_TRUE(barcode->hasFocus());
        // Enter in the barcode box adds the product (twice: two of it); an unknown code only beeps.
        for (const char* code : {"T1", "T1", "NOPE"}) {
            QTest::keyClicks(barcode, code);
            QTest::keyClick(barcode, Qt::Key_Return);
        }
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(barcode->text(), "NOPE"); // kept to be corrected
        barcode->clear();
        EXPECT_EQ(Rows(window), QStringList{"TEA|1.50|2 of 9999|stock"});
        EXPECT_EQ(FindControl<QLabel>(window, "TotalValue")->text(), "$ 3.00");
        EXPECT_EQ(window.result(), 0); // still open
        // Enter in the empty box completes the refund.
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        QTest::keyClick(barcode, Qt::Key_Return);
        EXPECT_EQ(window.result(), QDialog::Accepted);
    });
    EXPECT_EQ(query("SELECT kind, unreferenced, original_sale_id, total_cents FROM sale_records WHERE kind = 'refund'"),
              QStringList{"refund|1||-300"});
    EXPECT_EQ(query("SELECT barkod, adet, refund_of FROM odemeler WHERE adet < 0"), QStringList{"T1|-2|"});
    EXPECT_EQ(stockOf("T1"), 6);
}

INSTANTIATE_TEST_SUITE_P(Engines, RefundWindowTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

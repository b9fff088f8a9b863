#include "reports/ReceiptsListModel.h"
#include "reports/TextTableModel.h"
#include "reports/ui/ReceiptsWindow.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"
#include "store/SaleRecordsTable.h"
#include "store/TenderTypesTable.h"
#include "store/TendersTable.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

// The receipts list as a user meets it: opened from the "Reports" menu, filtered, a receipt selected, printed again
// to a PDF file and the list exported, on both engines.

namespace {

class ReceiptsWindowTest : public AppFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        if (!HasFatalFailure() && GetParam() == Engine::Postgres)
            useNewDatabase(Engine::Postgres);
    }

    void storeSale(const QString& saleId, qint64 receiptNumber, const QString& recordedAt,
                   const std::vector<TenderRow>& tenders, const QString& product, qint64 quantity, const QString& price)
    {
        Database& db = form->context().SQLConnection1();
        qint64 total = 0;
        for (const TenderRow& tender : tenders)
            total += tender.amountCents;
        ASSERT_TRUE(SaleRecordsTable(db).insert({saleId, QStringLiteral("Front"), receiptNumber, recordedAt,
                                                 SaleRecordKind::Sale, std::nullopt, QString(), total, 0, total}));
        ASSERT_TRUE(TendersTable(db).insert(saleId, tenders));
        ASSERT_TRUE(PaymentsTable(db).insert({saleId, recordedAt}, receiptNumber, product + "-code", product, quantity,
                                             price));
    }

    QStringList listed(const ReceiptsWindow& window)
    {
        QStringList receipts;
        for (int row = 0; row < window.model()->rowCount(); ++row)
            receipts << window.model()->text(row, ReceiptsListModel::Receipt);
        return receipts;
    }

    // What the user does in the window while it is open.
    void useWindow(ReceiptsWindow& window)
    {
        auto* list = FindControl<QTableView>(window, "RecordsList");
        auto* reprint = FindControl<QPushButton>(window, "ReprintButton");
        EXPECT_EQ(window.windowTitle(), "Receipts");

        // Today's receipts, newest first; nothing selected yet.
        EXPECT_EQ(listed(window), (QStringList{"12", "11"}));
        EXPECT_EQ(window.model()->text(0, ReceiptsListModel::Tenders), "Cash 1.00 + Card 0.50");
        EXPECT_FALSE(reprint->isEnabled());
        EXPECT_EQ(window.linesModel()->rowCount(), 0);

        // Every control is named for a screen reader and reached with Tab.
        for (const char* name : {"BeginDate", "EndDate", "TillFilter", "ReceiptFilter", "TenderFilter", "RecordsList",
                                 "LinesList", "ReprintButton", "RefundButton", "ExportButton", "CloseButton"}) {
            SCOPED_TRACE(name);
            auto* control = FindControl<QWidget>(window, name);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
            EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
        }

        // The selected receipt shows its lines and prints again.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        ASSERT_NE(window.selectedReceipt(), nullptr);
        EXPECT_EQ(window.selectedReceipt()->stored.record.saleId, "b");
        EXPECT_EQ(window.linesModel()->rowTexts(0), (QStringList{"TEA-code", "TEA", "1.50", "1", "1.50", "0"}));
        EXPECT_TRUE(reprint->isEnabled());
        const QString pdf = dataFile(QStringLiteral("reprint.pdf"));
        dialogs.printAnswers.push_back(pdf);
        reprint->click();
        EXPECT_GT(QFileInfo(pdf).size(), 0);

        // The filters: a wider range, a payment type, a receipt number.
        FindControl<QDateEdit>(window, "BeginDate")->setDate(QDate(2025, 1, 30));
        EXPECT_EQ(listed(window), (QStringList{"12", "11", "10"}));
        EXPECT_EQ(window.linesModel()->rowCount(), 0);
        auto* tenders = FindControl<QComboBox>(window, "TenderFilter");
        tenders->setCurrentIndex(tenders->findData(kCardTender));
        EXPECT_EQ(listed(window), (QStringList{"12", "10"}));
        tenders->setCurrentIndex(0);
        auto* till = FindControl<QComboBox>(window, "TillFilter");
        EXPECT_EQ(till->count(), 2);
        till->setCurrentIndex(till->findText("Front"));
        EXPECT_EQ(listed(window), (QStringList{"12", "11", "10"}));
        auto* receipt = FindControl<QLineEdit>(window, "ReceiptFilter");
        receipt->setFocus();
        QTest::keyClicks(receipt, "11x");
        QTest::keyClick(receipt, Qt::Key_Return);
        EXPECT_EQ(receipt->text(), "11");
        EXPECT_EQ(listed(window), (QStringList{"11"}));
        EXPECT_TRUE(dialogs.shown.size() == 1u && dialogs.shown[0].kind == "print"); // Enter pressed no button

        // The export writes the listed records; a cancelled dialog writes nothing.
        const QString csv = dataFile(QStringLiteral("receipts.csv"));
        dialogs.fileAnswers.push_back(csv);
        FindControl<QPushButton>(window, "ExportButton")->click();
        EXPECT_EQ(bytesOf(csv).toStdString(),
                  "Datetime;Till;Receipt;Kind;Customer;Subtotal;Discount;Total;Tenders;Sale ID\r\n"
                  "2025-01-31 09:00:00;Front;11;sale;;5.00;0.00;5.00;Cash 5.00;a\r\n");
        QFile::remove(csv);
        FindControl<QPushButton>(window, "ExportButton")->click();
        EXPECT_FALSE(QFile::exists(csv));
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_P(ReceiptsWindowTest, ReceiptsAreListedFilteredReprintedAndExported)
{
    start();
    storeSale("a", 11, "2025-01-31 09:00:00", {{kCashTender, 500, {}, {}}}, "COFFEE", 2, "2.50");
    storeSale("b", 12, "2025-01-31 12:00:00", {{kCashTender, 100, 200, 100}, {kCardTender, 50, {}, {}}}, "TEA", 1,
              "1.50");
    storeSale("c", 10, "2025-01-30 17:00:00", {{kCardTender, 300, {}, {}}}, "MILK", 3, "1.00");

    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog& dialog) {
        auto* window = qobject_cast<ReceiptsWindow*>(&dialog);
        EXPECT_NE(window, nullptr);
        if (window) {
            ran = true;
            useWindow(*window);
        }
        return int(QDialog::Rejected);
    });
    form->action(QStringLiteral("ReceiptsList1"))->trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(form->action(QStringLiteral("ReceiptsList1"))->text(), "Receipts...");
    EXPECT_EQ(dialogs.modalWindows, QStringList{"ReceiptsWindow"});
    EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(u'\n').toStdString();
}

TEST_P(ReceiptsWindowTest, ASelectedSaleIsRefundedAndTheListShowsTheRefundAndWhatWasGivenBack)
{
    start();
    Database& db = form->context().SQLConnection1();
    ASSERT_TRUE(ProductsTable(db).insert("COFFEE-code", "COFFEE", 2.5, 10));
    const QString today = form->context().env().now().toString("yyyy-MM-dd") + " 09:00:00";
    storeSale("a", 11, today, {{kCashTender, 750, {}, {}}}, "COFFEE", 3, "2.50");

    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog& dialog) {
        auto& window = *qobject_cast<ReceiptsWindow*>(&dialog);
        auto* list = FindControl<QTableView>(window, "RecordsList");
        auto* refund = FindControl<QPushButton>(window, "RefundButton");
        EXPECT_EQ(refund->text(), "Refund...");
        EXPECT_FALSE(refund->isEnabled());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_TRUE(refund->isEnabled());
        EXPECT_EQ(window.linesModel()->rowTexts(0), (QStringList{"COFFEE-code", "COFFEE", "2.50", "3", "7.50", "0"}));

        // The Refund window: one COFFEE back.
        dialogs.modalScripts.push_back([this](QDialog& refundWindow) {
            EXPECT_EQ(refundWindow.objectName(), "RefundWindow");
            FindControl<QSpinBox>(refundWindow, "RefundQuantity1")->setValue(1);
            dialogs.messageAnswers.push_back(Dialogs::Yes);
            FindControl<QPushButton>(refundWindow, "CompleteButton")->click();
            return refundWindow.result();
        });
        refund->click();

        // The refund is listed above the sale, which stays selected with what was given back of its line.
        EXPECT_EQ(listed(window), (QStringList{"1", "11"}));
        EXPECT_EQ(window.model()->text(0, ReceiptsListModel::Kind), "Refund");
        EXPECT_EQ(window.model()->text(0, ReceiptsListModel::Original), "11");
        EXPECT_EQ(window.model()->text(0, ReceiptsListModel::Total), "-2.50");
        EXPECT_EQ(window.model()->text(1, ReceiptsListModel::Original), "");
        EXPECT_TRUE(window.selectedReceipt() && window.selectedReceipt()->stored.record.saleId == "a");
        EXPECT_EQ(window.linesModel()->rowTexts(0), (QStringList{"COFFEE-code", "COFFEE", "2.50", "3", "7.50", "1"}));

        // A refund is not refunded again.
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_TRUE(window.selectedReceipt() && window.selectedReceipt()->stored.record.kind == SaleRecordKind::Refund);
        EXPECT_FALSE(refund->isEnabled());
        EXPECT_EQ(window.linesModel()->rowTexts(0), (QStringList{"COFFEE-code", "COFFEE", "2.50", "-1", "-2.50", ""}));
        ran = true;
        return int(QDialog::Rejected);
    });
    form->action(QStringLiteral("ReceiptsList1"))->trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.modalWindows, (QStringList{"ReceiptsWindow", "RefundWindow"}));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Confirm?"});
    EXPECT_EQ(ProductsTable(db).withBarcode("COFFEE-code")->front().stock.asInteger(), 11);
}

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptsWindowTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

#include "SaleFixture.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <limits>

namespace {

using SaleScreenTest = SaleFixture;

TEST_F(SaleScreenTest, ScanningACodeThreeTimesGivesOneRowWithQuantityThree)
{
    start();
    addProduct(QStringLiteral("ABC1"), QStringLiteral("COFFEE"), 2.5, 10);
    for (int i = 0; i < 3; ++i)
        scan(QStringLiteral("abc1")); // typed in lower case, looked up in upper case
    EXPECT_EQ(listRows(), QStringList{"ABC1|COFFEE|2.50|3|7.50||"});
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 7.50"));
    EXPECT_TRUE(control<QWidget>("Panel6")->isVisible());
    EXPECT_TRUE(form->sellBar()->isVisible());
    EXPECT_TRUE(form->sellByCashButton()->isEnabled());
    EXPECT_TRUE(form->sellByCreditButton()->isEnabled());
    EXPECT_TRUE(screen().pendingBarcode().isEmpty());

    // A code with no product is dropped without a word; a blank Enter looks nothing up.
    scan(QStringLiteral("NOPE"));
    scan(QStringLiteral("  "));
    EXPECT_EQ(listRows(), QStringList{"ABC1|COFFEE|2.50|3|7.50||"});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SaleScreenTest, SharedBarcodesFillOneRowAndAnUnreadablePriceAddsNothing)
{
    start();
    // The first product appends the row, the second raises its quantity; its name and price are not shown.
    addProduct(QStringLiteral("D1"), QStringLiteral("TWIN A"), 1, 5);
    addProduct(QStringLiteral("D1"), QStringLiteral("TWIN B"), 9, 5);
    scan(QStringLiteral("D1"));
    EXPECT_EQ(listRows(), QStringList{"D1|TWIN A|1.00|2|2.00||"});

    addProduct(QStringLiteral("Q1"), QStringLiteral("ODD"), QStringLiteral("abc"));
    scan(QStringLiteral("Q1"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"'abc' is not a valid floating point value"});
    EXPECT_EQ(listRows(), QStringList{"D1|TWIN A|1.00|2|2.00||"});
    EXPECT_TRUE(screen().pendingBarcode().isEmpty());

    // Nor does a price beyond the range of numbers, which no total could add up.
    addProduct(QStringLiteral("I1"), QStringLiteral("ENDLESS"), std::numeric_limits<double>::infinity());
    scan(QStringLiteral("I1"));
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("'Inf' is not a valid floating point value"));
    EXPECT_EQ(listRows(), QStringList{"D1|TWIN A|1.00|2|2.00||"});
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 2.00"));
}

TEST_F(SaleScreenTest, BackspaceRemovesTheLastOrTheSelectedRowAndTypedCharactersStayPending)
{
    start();
    addProduct(QStringLiteral("A1"), QStringLiteral("APPLE"), 1, 5);
    addProduct(QStringLiteral("B2"), QStringLiteral("BREAD"), 2, 5);
    scan(QStringLiteral("A1"));
    scan(QStringLiteral("B2"));
    control<QLineEdit>("Edit7")->setText(QStringLiteral("50"));

    // Nothing selected: Backspace takes the last row; Esc and Backspace leave the typed characters pending.
    QTest::keyClicks(control<QTreeView>("ListView1"), QStringLiteral("a"));
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Backspace);
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Escape);
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Delete);
    EXPECT_EQ(screen().pendingBarcode(), QStringLiteral("A"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|1|1.00||"});
    scan(QStringLiteral("1"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|2|2.00||"});

    // A selected row goes through "DELETE"; the emptied list hides the change panel and disables selling.
    clickRow(0);
    EXPECT_TRUE(control<QPushButton>("BitBtn16")->isVisible());
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Backspace);
    EXPECT_TRUE(listRows().isEmpty());
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 0.00"));
    EXPECT_FALSE(control<QWidget>("Panel6")->isVisible());
    EXPECT_FALSE(form->sellByCashButton()->isEnabled());
    EXPECT_FALSE(form->sellByCreditButton()->isEnabled());
    EXPECT_EQ(control<QLineEdit>("Edit7")->text(), QStringLiteral("50"));
    EXPECT_FALSE(control<QPushButton>("BitBtn16")->isVisible());
    EXPECT_TRUE(control<QLineEdit>("Edit4")->isEnabled());

    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Backspace); // empty list: nothing happens
    EXPECT_TRUE(listRows().isEmpty());
}

TEST_F(SaleScreenTest, EditModeSetsTheQuantityOfTheSelectedRow)
{
    start();
    addProduct(QStringLiteral("P1"), QStringLiteral("PENCIL"), 0.333, 50);

    // Barcode box, Enter to the quantity box, 3, Enter to "ADD".
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral("p1"));
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("P1"));
    QTest::keyClick(control<QLineEdit>("Edit4"), Qt::Key_Return);
    control<QSpinBox>("SpinEdit1")->setValue(3);
    QTest::keyClick(control<QSpinBox>("SpinEdit1"), Qt::Key_Return);
    EXPECT_EQ(listRows(), QStringList{"P1|PENCIL|0.33|3|1.00||"});
    EXPECT_TRUE(control<QLineEdit>("Edit4")->text().isEmpty());
    EXPECT_EQ(control<QSpinBox>("SpinEdit1")->value(), 1);

    clickRow(0);
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("P1"));
    EXPECT_FALSE(control<QLineEdit>("Edit4")->isEnabled());
    EXPECT_EQ(control<QSpinBox>("SpinEdit1")->value(), 3);
    EXPECT_EQ(control<QPushButton>("BitBtn15")->text(), QStringLiteral("Edit"));
    EXPECT_TRUE(control<QPushButton>("BitBtn16")->isVisible());

    // The quantity is replaced, not added to; the new total multiplies the shown two-decimal price.
    control<QSpinBox>("SpinEdit1")->setValue(4);
    control<QPushButton>("BitBtn15")->click();
    EXPECT_EQ(listRows(), QStringList{"P1|PENCIL|0.33|4|1.32||"});
    EXPECT_EQ(control<QTreeView>("ListView1")->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(control<QPushButton>("BitBtn15")->text(), QStringLiteral("Edit"));

    // Esc leaves edit mode.
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Escape);
    EXPECT_TRUE(control<QTreeView>("ListView1")->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(control<QPushButton>("BitBtn15")->text(), QStringLiteral("ADD"));
    EXPECT_TRUE(control<QLineEdit>("Edit4")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("BitBtn16")->isVisible());

    // The quantities typed for "ADD" and "Edit" were for those clicks only: a scan adds one unit.
    scan(QStringLiteral("P1"));
    EXPECT_EQ(listRows(), QStringList{"P1|PENCIL|0.33|5|1.65||"});
}

TEST_F(SaleScreenTest, AnUnknownNameIsAddedAsAManualLineAtATypedPrice)
{
    start();
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral(" tea "));
    control<QSpinBox>("SpinEdit1")->setValue(2);
    dialogs.inputAnswers.push_back(QStringLiteral("1.25"));
    control<QPushButton>("BitBtn15")->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("input"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Add Product Manually"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please enter unit price:"));
    EXPECT_EQ(dialogs.shown[0].input.initialText, QStringLiteral("0.00"));
    EXPECT_EQ(dialogs.shown[0].input.okCaption, QStringLiteral("OK"));
    EXPECT_EQ(listRows(), QStringList{"|TEA|1.25|2|2.50||"});
    EXPECT_TRUE(control<QLineEdit>("Edit4")->text().isEmpty());

    // A price that is not a number adds nothing, and the next scan adds one unit again.
    dialogs.clear();
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral("cake"));
    control<QSpinBox>("SpinEdit1")->setValue(5);
    dialogs.inputAnswers.push_back(QStringLiteral("abc"));
    control<QPushButton>("BitBtn15")->click();
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_EQ(dialogs.lastMessage()->caption, form->context().AppTitle);
    EXPECT_EQ(listRows().size(), 1);
    EXPECT_TRUE(screen().pendingBarcode().isEmpty());

    // Cancelled: nothing added. Empty box: a warning.
    dialogs.inputAnswers.push_back(std::nullopt);
    control<QPushButton>("BitBtn15")->click();
    EXPECT_EQ(listRows().size(), 1);
    control<QLineEdit>("Edit4")->clear();
    control<QPushButton>("BitBtn15")->click();
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("Please enter barcode or product name!"));
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("WARNING"));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Warning);
    EXPECT_EQ(listRows().size(), 1);

    // The next scan adds one unit again, whatever the quantity box held.
    addProduct(QStringLiteral("K1"), QStringLiteral("KIWI"), 0.5, 5);
    scan(QStringLiteral("K1"));
    EXPECT_EQ(listRows().last(), QStringLiteral("K1|KIWI|0.50|1|0.50||"));
}

TEST_F(SaleScreenTest, ChangeTableAndChangeForTheAmountTendered)
{
    start();
    addProduct(QStringLiteral("W1"), QStringLiteral("WINE"), 37.5);
    scan(QStringLiteral("W1"));
    EXPECT_EQ(control<QLabel>("Label20")->text(), QStringLiteral("Change:"));
    EXPECT_EQ(memoLines(), (QStringList{"", "For 100", "62.50", "", "For 50", "12.50"}));
    const std::pair<const char*, const char*> tendered[] = {{"50", "12.50"}, {"30", "-7.50"}, {"", "0.00"}, {"x", "0.00"}};
    for (const auto& [amount, change] : tendered) {
        control<QLineEdit>("Edit7")->setText(QString::fromLatin1(amount));
        EXPECT_EQ(control<QLabel>("Label19")->text(), QString::fromLatin1(change)) << amount;
    }
}

TEST_F(SaleScreenTest, TheGrandTotalIsTheExactSumOfTheShownLineTotals)
{
    start();
    // As doubles 33.30 + 33.40 + 33.30 falls just short of 100, which would offer change for a 100 note.
    addProduct(QStringLiteral("X1"), QStringLiteral("ONE"), 33.3);
    addProduct(QStringLiteral("X2"), QStringLiteral("TWO"), 33.4);
    addProduct(QStringLiteral("X3"), QStringLiteral("THREE"), 33.3);
    for (const char* code : {"X1", "X2", "X3"})
        scan(QString::fromLatin1(code));
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 100.00"));
    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_TRUE(control<QWidget>("Panel6")->isVisible());
    control<QLineEdit>("Edit7")->setText(QStringLiteral("100"));
    EXPECT_EQ(control<QLabel>("Label19")->text(), QStringLiteral("0.00"));
}

TEST_F(SaleScreenTest, DiscountFillsTheDiscountedCellsAndZeroEmptiesThem)
{
    start();
    addProduct(QStringLiteral("S1"), QStringLiteral("SOAP"), 20, 10);
    addProduct(QStringLiteral("S2"), QStringLiteral("SALT"), 1.5, 10);
    for (int i = 0; i < 3; ++i)
        scan(QStringLiteral("S1"));

    answerDiscount(QStringLiteral("10"));
    EXPECT_EQ(dialogs.shown.back().caption, QStringLiteral("Discount"));
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Please enter discount ratio:"));
    EXPECT_EQ(dialogs.shown.back().input.initialText, QStringLiteral("0"));
    EXPECT_EQ(listRows(), QStringList{"S1|SOAP|20.00|3|60.00|18.00|54.00"});
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 54.00"));
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("10%"));
    scan(QStringLiteral("S2")); // a row added under a discount gets its discounted cells at once
    EXPECT_EQ(listRows().last(), QStringLiteral("S2|SALT|1.50|1|1.50|1.35|1.35"));
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 55.35"));

    // Answers that are not numbers only beep.
    for (const char* answer : {"abc", "10%", ""})
        answerDiscount(QString::fromLatin1(answer));
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("10%"));
    EXPECT_EQ(screen().sale().discountRate(), 10);

    answerDiscount(QStringLiteral("0"));
    EXPECT_EQ(listRows(), (QStringList{"S1|SOAP|20.00|3|60.00||", "S2|SALT|1.50|1|1.50||"}));
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 61.50"));
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("0%"));

    answerDiscount(QStringLiteral("1e1"));
    EXPECT_EQ(screen().sale().discountRate(), 10);
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("1e1%"));
    dialogs.inputAnswers.push_back(std::nullopt);
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(dialogs.shown.back().input.initialText, QStringLiteral("1e1"));
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("1e1%"));
}

TEST_F(SaleScreenTest, TheSellBarShowsOnlyOnTheSaleScreen)
{
    start();
    addProduct(QStringLiteral("E1"), QStringLiteral("EGGS"), 12.5);
    scan(QStringLiteral("E1"));
    form->findChild<QPushButton*>(QStringLiteral("BitBtn17"))->click(); // sales history
    form->context().setCurrencySymbol(QStringLiteral("EUR"));
    EXPECT_FALSE(form->sellBar()->isVisible());

    // "Product List..." comes back to the sale screen with the list and the new symbol.
    form->action(QStringLiteral("ProductsList1"))->trigger();
    EXPECT_TRUE(screen().isVisible());
    EXPECT_TRUE(form->sellBar()->isVisible());
    EXPECT_TRUE(form->sellByCashButton()->isEnabled());
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("EUR 12.50"));
}

// Types a code and Enter wherever the keyboard focus is, as a wedge scanner does.
void scanIntoFocus(const QString& code)
{
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClicks(focused, code);
    QTest::keyClick(focused, Qt::Key_Return);
}

TEST_F(SaleScreenTest, TheSaleListHasTheFocusAtStartAfterDialogsAndBackFromAnotherScreen)
{
    start();
    addProduct(QStringLiteral("A1"), QStringLiteral("APPLE"), 1, 50);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    scanIntoFocus(QStringLiteral("A1"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|1|1.00||"});

    // Each button takes the focus with its click; once its dialog is closed the next scan reaches the list.
    dialogs.inputAnswers.push_back(QStringLiteral("0"));
    QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton);
    scanIntoFocus(QStringLiteral("A1"));
    dialogs.messageAnswers.push_back(Dialogs::No);
    QTest::mouseClick(form->sellByCashButton(), Qt::LeftButton);
    scanIntoFocus(QStringLiteral("A1"));
    QTest::mouseClick(control<QPushButton>("BitBtn22"), Qt::LeftButton); // the product picker, closed without a choice
    scanIntoFocus(QStringLiteral("A1"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|4|4.00||"});

    // Another screen and back through its "MAIN MENU".
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("BitBtn17")), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("BitBtn20")), Qt::LeftButton);
    scanIntoFocus(QStringLiteral("A1"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|5|5.00||"});
    EXPECT_EQ(QApplication::focusWidget(), control<QTreeView>("ListView1"));

    // A completed sale leaves the emptied list with the focus, for the next customer's first scan.
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    QTest::mouseClick(form->sellByCashButton(), Qt::LeftButton);
    ASSERT_TRUE(listRows().isEmpty());
    scanIntoFocus(QStringLiteral("A1"));
    EXPECT_EQ(listRows(), QStringList{"A1|APPLE|1.00|1|1.00||"});
}

TEST_F(SaleScreenTest, DeleteAndEscLeaveNothingSelectedSoBackspaceAndAddActOnTheWholeList)
{
    start();
    for (const char* code : {"A", "B", "C", "D"}) {
        addProduct(QString::fromLatin1(code), QString::fromLatin1(code), 1, 50);
        scan(QString::fromLatin1(code));
    }
    clickRow(1);
    QTest::mouseClick(control<QPushButton>("BitBtn16"), Qt::LeftButton);
    EXPECT_TRUE(control<QTreeView>("ListView1")->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(control<QPushButton>("BitBtn15")->text(), QStringLiteral("ADD"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(listRows(), (QStringList{"A|A|1.00|1|1.00||", "C|C|1.00|1|1.00||"}));

    // "ADD" with a typed code adds the product instead of setting a row's quantity.
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral("B"));
    QTest::mouseClick(control<QPushButton>("BitBtn15"), Qt::LeftButton);
    EXPECT_EQ(listRows(), (QStringList{"A|A|1.00|1|1.00||", "C|C|1.00|1|1.00||", "B|B|1.00|1|1.00||"}));

    clickRow(0);
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Escape);
    EXPECT_TRUE(control<QTreeView>("ListView1")->selectionModel()->selectedRows().isEmpty());
    QTest::keyClick(control<QTreeView>("ListView1"), Qt::Key_Backspace);
    EXPECT_EQ(listRows(), (QStringList{"A|A|1.00|1|1.00||", "C|C|1.00|1|1.00||"}));
}

TEST_F(SaleScreenTest, LineTotalsBeyondWholeCentsAreSummedAsNumbers)
{
    start();
    addProduct(QStringLiteral("Y1"), QStringLiteral("YACHT"), 1e18, 5);
    addProduct(QStringLiteral("A1"), QStringLiteral("APPLE"), 1, 5);
    scan(QStringLiteral("Y1"));
    scan(QStringLiteral("A1"));
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.messageTexts().join('|').toStdString();
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("$ 1000000000000000000.00"));
    EXPECT_TRUE(form->sellByCashButton()->isEnabled());
    EXPECT_TRUE(memoLines().isEmpty()); // no banknote covers it
}

TEST_F(SaleScreenTest, TheChangeTableIsCentredAndTheSaleListIsDrawnWithGridLines)
{
    start();
    addProduct(QStringLiteral("A1"), QStringLiteral("APPLE"), 7.5, 5);
    scan(QStringLiteral("A1"));
    pump();

    // The inked columns of the change table sit in the middle of its box.
    const QImage memo = control<QPlainTextEdit>("Memo1")->viewport()->grab().toImage();
    const QRgb background = memo.pixel(1, 1);
    int left = memo.width();
    int right = -1;
    for (int x = 0; x < memo.width(); ++x)
        for (int y = 0; y < memo.height(); ++y)
            if (memo.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, memo.width() / 2.0, 6.0);

    // A line along the right edge of the first cell, in the palette's grid colour.
    QTreeView* list = control<QTreeView>("ListView1");
    const QRect cell = list->visualRect(list->model()->index(0, 0));
    const QImage rows = list->viewport()->grab().toImage();
    const int edge = list->header()->sectionSize(0) - 1;
    const QRgb grid = list->palette().color(QPalette::Mid).rgb();
    EXPECT_EQ(rows.pixel(edge, cell.center().y()), grid);
    EXPECT_EQ(rows.pixel(edge / 2, cell.bottom()), grid);
}

} // namespace

#include "CatalogueFixture.h"
#include "catalogue/ui/ProductsScreen.h"
#include "catalogue/ui/StockSpinBox.h"
#include "pos/Payment.h"
#include "pos/SaleRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The products screen under test and its controls, found by their names.
struct Screen
{
    explicit Screen(ProductsScreen& window) : window(window) {}

    ProductsScreen& window;
    QComboBox* ComboBox1 = FindControl<QComboBox>(window, "ComboBox1");
    QLineEdit* Edit2 = FindControl<QLineEdit>(window, "Edit2");
    QLineEdit* Edit3 = FindControl<QLineEdit>(window, "Edit3");
    StockSpinBox* SpinEdit2 = FindControl<StockSpinBox>(window, "SpinEdit2");
    QLabel* Label6 = FindControl<QLabel>(window, "Label6");
    QLineEdit* Edit5 = FindControl<QLineEdit>(window, "Edit5");
    QPushButton* BitBtn5 = FindControl<QPushButton>(window, "BitBtn5");
    QPushButton* BitBtn8 = FindControl<QPushButton>(window, "BitBtn8");
    QPushButton* BitBtn9 = FindControl<QPushButton>(window, "BitBtn9");
};

class ProductsScreenTest : public CatalogueFixture
{
protected:
    void TearDown() override
    {
        m_screen.reset();
        CatalogueFixture::TearDown();
    }
    // The screen on the context, prepared as the navigation bar's "PRODUCTS" prepares it.
    Screen open()
    {
        m_screen = std::make_unique<ProductsScreen>(startContext());
        m_screen->setCaptions();
        showActive(*m_screen);
        m_screen->prepare();
        dialogs.clear();
        return Screen(*m_screen);
    }
    // The screen opened with "PRODUCTS" on the main window.
    Screen openFromMainWindow()
    {
        TAppForm& form = startActive();
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("BitBtn3")), Qt::LeftButton);
        ProductsScreen& screen = *form.productsScreen();
        EXPECT_TRUE(screen.isVisible());
        dialogs.clear();
        return Screen(screen);
    }
    // Types into the barcode box as a user (or a scanner) would, after clearing it.
    void typeBarcode(const Screen& s, const QString& text)
    {
        s.ComboBox1->lineEdit()->selectAll();
        QTest::keyClick(s.ComboBox1->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(s.ComboBox1->lineEdit(), text);
    }
    void fill(const Screen& s, const QString& name, const QString& price)
    {
        s.Edit2->setText(name);
        s.Edit3->setText(price);
    }
    // "ADD", "UPDATE", "DELETE PRODUCT" enabled, and whether the record date shows.
    static std::string state(const Screen& s)
    {
        std::string out;
        for (QPushButton* b : {s.BitBtn5, s.BitBtn8, s.BitBtn9})
            out += b->isEnabled() ? '1' : '0';
        out += s.Label6->isVisible() && s.Edit5->isVisible() ? " date" : " -";
        return out;
    }
    std::vector<QString> barcodeItems(const Screen& s)
    {
        std::vector<QString> items;
        for (int i = 0; i < s.ComboBox1->count(); ++i)
            items.push_back(s.ComboBox1->itemText(i));
        return items;
    }

private:
    std::unique_ptr<ProductsScreen> m_screen;
};

} // namespace

TEST_F(ProductsScreenTest, OpeningListsTheBarcodesAndClearsTheForm)
{
    start();
    addProduct(QStringLiteral("B2"), QStringLiteral("Bread"), 1.25, 4);
    addProduct(QStringLiteral("A1"), QStringLiteral("Apple"), 0.5, 10);
    form.reset();
    const Screen s = openFromMainWindow();
    EXPECT_EQ(barcodeItems(s), (std::vector<QString>{QStringLiteral("A1"), QStringLiteral("B2")}));
    EXPECT_EQ(s.ComboBox1->currentText(), QString());
    EXPECT_EQ(state(s), "000 -");
    EXPECT_EQ(s.SpinEdit2->value(), 0);
    EXPECT_TRUE(s.ComboBox1->hasFocus() || s.ComboBox1->lineEdit()->hasFocus());
    EXPECT_FALSE(form->sellBar()->isVisible());
}

TEST_F(ProductsScreenTest, ButtonsFollowTheBarcodeBox)
{
    const Screen s = open();
    addProduct(QStringLiteral("8690001"), QStringLiteral("Milk"), 2.5, 12);
    addProduct(QStringLiteral("ABC1"), QStringLiteral("Cheese"), 7, -3);

    typeBarcode(s, QStringLiteral("8690001"));
    EXPECT_EQ(state(s), "011 date");
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Milk"));
    EXPECT_EQ(s.Edit3->text(), QStringLiteral("2.50"));
    EXPECT_EQ(s.SpinEdit2->value(), 12);
    EXPECT_EQ(s.Edit5->text(), QStringLiteral("2024-05-01 14:03:27"));

    // Blank: all three off, the rest of the form stays as it was.
    typeBarcode(s, QStringLiteral("  "));
    EXPECT_EQ(state(s), "000 date");
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Milk"));

    // A barcode followed by a blank is another barcode.
    typeBarcode(s, QStringLiteral("8690001 "));
    EXPECT_EQ(state(s), "100 -");
    EXPECT_EQ(s.Edit2->text(), QString());
    EXPECT_EQ(s.Edit3->text(), QString());
    EXPECT_EQ(s.SpinEdit2->value(), 0);

    // Lower-case letters are typed as capitals and looked up so; a negative stock shows as 0.
    typeBarcode(s, QStringLiteral("abc1"));
    EXPECT_EQ(s.ComboBox1->currentText(), QStringLiteral("ABC1"));
    EXPECT_EQ(state(s), "011 date");
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Cheese"));
    EXPECT_EQ(s.Edit3->text(), QStringLiteral("7.00"));
    EXPECT_EQ(s.SpinEdit2->value(), 0);

    // Choosing an item from the list looks it up as well.
    s.window.prepare();
    s.ComboBox1->setCurrentIndex(s.ComboBox1->findText(QStringLiteral("8690001")));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Milk"));
    EXPECT_EQ(state(s), "011 date");
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(ProductsScreenTest, AddStoresTheTypedProductAndShowsItAgain)
{
    const Screen s = open();
    typeBarcode(s, QStringLiteral("o'neil-1"));
    fill(s, QStringLiteral("  O'Neil's Tea "), QStringLiteral(" 2,5 "));
    s.SpinEdit2->setValue(7);
    QTest::mouseClick(s.BitBtn5, Qt::LeftButton);

    EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(u'|').toStdString();
    const QueryResult row = query(QStringLiteral("select barkod, urunadi, fiyat, typeof(fiyat), stok, kayittarihi from urunler"));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row.text(0, QStringLiteral("barkod")), QStringLiteral("O'NEIL-1"));
    EXPECT_EQ(row.text(0, QStringLiteral("urunadi")), QStringLiteral("O'Neil's Tea"));
    EXPECT_EQ(row.text(0, QStringLiteral("fiyat")), QStringLiteral("2.5"));
    EXPECT_EQ(row.text(0, QStringLiteral("typeof(fiyat)")), QStringLiteral("real"));
    EXPECT_EQ(row.text(0, QStringLiteral("stok")), QStringLiteral("7"));
    EXPECT_FALSE(row.text(0, QStringLiteral("kayittarihi")).isEmpty());

    // The screen is rebuilt and shows the new product.
    EXPECT_EQ(barcodeItems(s), std::vector<QString>{QStringLiteral("O'NEIL-1")});
    EXPECT_EQ(s.ComboBox1->currentText(), QStringLiteral("O'NEIL-1"));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("O'Neil's Tea"));
    EXPECT_EQ(s.Edit3->text(), QStringLiteral("2.50"));
    EXPECT_EQ(s.SpinEdit2->value(), 7);
    EXPECT_EQ(s.Edit5->text(), row.text(0, QStringLiteral("kayittarihi")));
    EXPECT_EQ(state(s), "011 date");
}

TEST_F(ProductsScreenTest, InvalidEntriesAreRefusedOnAdd)
{
    const Screen s = open();
    const struct
    {
        QString name, price, nameAfter, priceAfter;
    } cases[] = {{QStringLiteral("  "), QStringLiteral("1"), QString(), QStringLiteral("1")},
                 {QStringLiteral("Tea"), QStringLiteral("  "), QStringLiteral("Tea"), QString()},
                 {QStringLiteral(" Tea"), QStringLiteral("abc"), QStringLiteral("Tea"), QStringLiteral("abc")},
                 {QStringLiteral("Tea"), QStringLiteral("1,2,3"), QStringLiteral("Tea"), QStringLiteral("1.2.3")}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.name + u'/' + c.price).toStdString());
        typeBarcode(s, QStringLiteral("NEW"));
        fill(s, c.name, c.price);
        dialogs.clear();
        QTest::mouseClick(s.BitBtn5, Qt::LeftButton);
        ASSERT_NE(dialogs.lastMessage(), nullptr);
        EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("Invalid Entry!"));
        EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Warning);
        EXPECT_EQ(s.Edit2->text(), c.nameAfter);
        EXPECT_EQ(s.Edit3->text(), c.priceAfter);
        EXPECT_EQ(count(QStringLiteral("urunler")), 0);
    }
}

TEST_F(ProductsScreenTest, UpdateNormalisesThePriceAndRefusesWhatIsNotANumber)
{
    const Screen s = open();
    addProduct(QStringLiteral("P'1"), QStringLiteral("Juice"), 1.1, -4);
    typeBarcode(s, QStringLiteral("P'1"));
    ASSERT_EQ(state(s), "011 date");

    // A price that is not a number: the conversion message, not "Invalid Entry!", and nothing written.
    for (const QString& price : {QStringLiteral("abc"), QString()}) {
        dialogs.clear();
        fill(s, QStringLiteral("Other"), price);
        QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
        ASSERT_EQ(dialogs.messageTexts().size(), 1);
        EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("'%1' is not a valid floating point value").arg(price));
        EXPECT_EQ(dialogs.lastMessage()->caption, context->AppTitle);
        EXPECT_EQ(cell(QStringLiteral("select urunadi from urunler")), QStringLiteral("Juice"));
    }

    dialogs.clear();
    fill(s, QStringLiteral(" "), QStringLiteral("2"));
    QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Invalid Entry!")});
    EXPECT_EQ(s.Edit3->text(), QStringLiteral("2.00"));
    EXPECT_EQ(cell(QStringLiteral("select urunadi from urunler")), QStringLiteral("Juice"));

    // The stored negative stock showed as 0, and 0 is what an update writes.
    dialogs.clear();
    fill(s, QStringLiteral(" Apple Juice "), QStringLiteral(" 2,5"));
    QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_EQ(s.Edit3->text(), QStringLiteral("2.50"));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Apple Juice"));
    const QueryResult row = query(QStringLiteral("select urunadi, fiyat, stok from urunler where barkod=?"), {QStringLiteral("P'1")});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row.text(0, QStringLiteral("urunadi")), QStringLiteral("Apple Juice"));
    EXPECT_EQ(row.text(0, QStringLiteral("fiyat")), QStringLiteral("2.5"));
    EXPECT_EQ(row.text(0, QStringLiteral("stok")), QStringLiteral("0"));
}

TEST_F(ProductsScreenTest, DeleteAsksAndShowsTheFirstRemainingProduct)
{
    const Screen s = open();
    addProduct(QStringLiteral("A'1"), QStringLiteral("Apple"), 0.5, 1);
    addProduct(QStringLiteral("B2"), QStringLiteral("Bread"), 1.25, 2);
    typeBarcode(s, QStringLiteral("B2"));

    dialogs.messageAnswers.push_back(Dialogs::No);
    QTest::mouseClick(s.BitBtn9, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Delete Record"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs.shown[0].buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_EQ(count(QStringLiteral("urunler")), 2);

    dialogs.messageAnswers.push_back(Dialogs::Yes);
    QTest::mouseClick(s.BitBtn9, Qt::LeftButton);
    EXPECT_EQ(count(QStringLiteral("urunler")), 1);
    EXPECT_EQ(barcodeItems(s), std::vector<QString>{QStringLiteral("A'1")});
    EXPECT_EQ(s.ComboBox1->currentText(), QStringLiteral("A'1"));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Apple"));
    EXPECT_EQ(state(s), "011 date");

    // The last product: an empty form with every button off.
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    QTest::mouseClick(s.BitBtn9, Qt::LeftButton);
    EXPECT_EQ(count(QStringLiteral("urunler")), 0);
    EXPECT_TRUE(barcodeItems(s).empty());
    EXPECT_EQ(s.ComboBox1->currentText(), QString());
    EXPECT_EQ(s.Edit2->text(), QString());
    EXPECT_EQ(state(s), "000 -");
}

TEST_F(ProductsScreenTest, EnterMovesThroughTheFieldsToTheEnabledButton)
{
    const Screen s = open();
    addProduct(QStringLiteral("OLD"), QStringLiteral("Old"), 1, 1);
    for (const auto& [barcode, target] : {std::pair{QStringLiteral("NEW"), s.BitBtn5},
                                          std::pair{QStringLiteral("OLD"), s.BitBtn8}}) {
        SCOPED_TRACE(barcode.toStdString());
        s.ComboBox1->setFocus();
        typeBarcode(s, barcode);
        QTest::keyClick(s.ComboBox1->lineEdit(), Qt::Key_Return);
        EXPECT_TRUE(s.Edit2->hasFocus());
        QTest::keyClick(s.Edit2, Qt::Key_Return);
        EXPECT_TRUE(s.Edit3->hasFocus());
        QTest::keyClick(s.Edit3, Qt::Key_Enter);
        EXPECT_TRUE(s.SpinEdit2->hasFocus());
        QTest::keyClick(s.SpinEdit2, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), target);
    }
    // Enter in the barcode box does not add the text to the list (loaded before the product was added).
    EXPECT_EQ(s.ComboBox1->count(), 0);
}

TEST_F(ProductsScreenTest, StockTypedBeyondTheRangeIsClampedWhenTheBoxIsLeft)
{
    const Screen s = open();
    s.SpinEdit2->setFocus();
    s.SpinEdit2->selectAll();
    QTest::keyClicks(s.SpinEdit2, QStringLiteral("1234567"));
    EXPECT_EQ(s.SpinEdit2->typedValue(), 999999);
    s.Edit2->setFocus();
    EXPECT_EQ(s.SpinEdit2->value(), 999999);
    EXPECT_EQ(s.SpinEdit2->text(), QStringLiteral("999999"));
}

TEST_F(ProductsScreenTest, AFailingStatementIsReportedAndTheFormKeepsWhatWasTyped)
{
    const Screen s = open();
    typeBarcode(s, QStringLiteral("X1"));
    exec(QStringLiteral("drop table urunler"));
    fill(s, QStringLiteral("Tea"), QStringLiteral("1.5"));
    QTest::mouseClick(s.BitBtn5, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("Exception raised with message: no such table: urunler"));
    EXPECT_EQ(s.ComboBox1->currentText(), QStringLiteral("X1"));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Tea"));
    EXPECT_EQ(state(s), "100 -");
}

namespace {

// The products screen of a till whose shop has other tills: on data.db and on a database on the test server.
class ProductsScreenTwoTillsTest : public ProductsScreenTest, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        ProductsScreenTest::SetUp();
        if (!HasFatalFailure() && GetParam() == Engine::Postgres)
            useNewDatabase(GetParam());
    }
};

} // namespace

TEST_P(ProductsScreenTwoTillsTest, UpdateKeepsTheUnitsSoldOnAnotherTillAndRefusesAStockCountedMeanwhile)
{
    const Screen s = open();
    addProduct(QStringLiteral("P1"), QStringLiteral("Tea"), 2, 10);
    typeBarcode(s, QStringLiteral("P1"));
    ASSERT_EQ(s.SpinEdit2->value(), 10);
    Database otherTill;
    ASSERT_TRUE(otherTill.open(context->SQLConnection1().path()));
    const auto sell = [&](qint64 units) {
        const std::vector<SaleLine> lines = {
            {QStringLiteral("P1"), QStringLiteral("Tea"), units, MoneyAmount::fromCents(200)}};
        ASSERT_TRUE(RecordSale(otherTill, lines, Payment::cash(), 1).committed);
    };
    const QString stock = QStringLiteral("select stok from urunler");

    // A new price saved while the other till sold three: the stock stays as the sale left it.
    sell(3);
    fill(s, QStringLiteral("Tea"), QStringLiteral("2,5"));
    QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_EQ(cell(QStringLiteral("select fiyat from urunler")), QStringLiteral("2.5"));
    EXPECT_EQ(cell(stock), QStringLiteral("7"));

    // A stock counted on the screen while the other till sold: nothing is saved, the product is shown as it is.
    sell(1);
    fill(s, QStringLiteral("Green Tea"), QStringLiteral("3"));
    s.SpinEdit2->setValue(20);
    QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("This product was changed on another till in the meantime. "
                                                          "Nothing was saved; it is shown again as it is now."));
    EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("WARNING"));
    EXPECT_EQ(cell(QStringLiteral("select urunadi from urunler")), QStringLiteral("Tea"));
    EXPECT_EQ(cell(stock), QStringLiteral("6"));
    EXPECT_EQ(s.Edit2->text(), QStringLiteral("Tea"));
    EXPECT_EQ(s.SpinEdit2->value(), 6);

    // Counted again on what is shown now: saved, and saved again.
    for (const int counted : {20, 18}) {
        dialogs.clear();
        s.SpinEdit2->setValue(counted);
        QTest::mouseClick(s.BitBtn8, Qt::LeftButton);
        EXPECT_TRUE(dialogs.messageTexts().isEmpty());
        EXPECT_EQ(cell(stock), QString::number(counted));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ProductsScreenTwoTillsTest, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         EngineName);

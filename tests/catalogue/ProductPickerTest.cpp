#include "CatalogueFixture.h"
#include "catalogue/ProductList.h"
#include "catalogue/ui/TUrunlerForm.h"
#include "pos/ui/SaleScreen.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include "pos/SaleListModel.h"

namespace {

// The catalogue every test starts with, and what a test reads off the picker.
class PickerFixture : public CatalogueFixture
{
protected:
    void addProducts()
    {
        addProduct(QStringLiteral("8690001"), QStringLiteral("Milk"), 2.5, 3);
        addProduct(QStringLiteral("4000417"), QStringLiteral("oat milk"), 1.99, 3);
        addProduct(QStringLiteral("77'1"), QStringLiteral("O'Neil's Tea"), 4, 3);
        addProduct(QStringLiteral("5550100"), QStringLiteral("Bread"), 1, 3);
    }
    static QStringList captions(TUrunlerForm& picker)
    {
        QStringList out;
        for (int row = 0; row < picker.model()->rowCount(); ++row)
            out << picker.model()->index(row).data().toString();
        return out;
    }
    // Clicks the item with this caption.
    static void clickItem(TUrunlerForm& picker, const QString& caption)
    {
        const QModelIndexList found =
            picker.model()->match(picker.model()->index(0), Qt::DisplayRole, caption, 1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << caption.toStdString();
        auto* list = FindControl<QListView>(picker, "ListView1");
        list->scrollTo(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found.first()).center());
    }
    QString setting(const QString& key) { return SettingsStore(dataFile(QStringLiteral("settings.ini"))).ReadString(key, {}); }
};

// The picker built on the context, handing its choice to a sale screen of its own.
class ProductPickerTest : public PickerFixture
{
protected:
    void SetUp() override
    {
        PickerFixture::SetUp();
        startContext();
        addProducts();
        m_sale = std::make_unique<SaleScreen>(*context);
    }
    void TearDown() override
    {
        m_sale.reset();
        PickerFixture::TearDown();
    }
    std::unique_ptr<TUrunlerForm> openPicker()
    {
        auto picker = std::make_unique<TUrunlerForm>(
            *context, [this](const QString& barcode) { return m_sale->pickProduct(barcode); });
        new QAbstractItemModelTester(picker->model(), QAbstractItemModelTester::FailureReportingMode::Fatal,
                                     picker->model());
        picker->show();
        pump();
        return picker;
    }

private:
    std::unique_ptr<SaleScreen> m_sale;
};

// The picker as Operations > "Product List..." opens it over the main window's sale screen.
class ProductPickerMenuTest : public PickerFixture
{
protected:
    void SetUp() override
    {
        PickerFixture::SetUp();
        start();
        addProducts();
    }
    // Opens the picker through the menu and runs the script on it; true when it closed.
    bool pick(const std::function<void(TUrunlerForm&)>& script)
    {
        bool closed = false;
        dialogs.modalScripts.push_back([&](QDialog& dialog) {
            auto& picker = static_cast<TUrunlerForm&>(dialog);
            picker.show();
            pump();
            script(picker);
            closed = !picker.isVisible();
            return picker.result();
        });
        form->action(QStringLiteral("ProductsList1"))->trigger();
        return closed;
    }
    QStringList saleRows()
    {
        QStringList rows;
        const SaleListModel& list = *form->saleScreen()->saleList();
        for (int i = 0; i < list.rowCount(); ++i)
            rows << list.cell(i, SaleListModel::Product) + u'*' + list.cell(i, SaleListModel::Quantity);
        return rows;
    }
};

} // namespace

TEST_F(ProductPickerTest, OpensCentredWithTheWholeCatalogueInBigIcons)
{
    auto picker = openPicker();
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select Product"));
    EXPECT_EQ(picker->size(), QSize(698, 398));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(picker->pos(), QPoint(screen.width() / 2 - 698 / 2, screen.height() / 2 - 398 / 2));
    const auto* list = FindControl<QListView>(*picker, "ListView1");
    EXPECT_TRUE(FindControl<QRadioButton>(*picker, "RadioButton1")->isChecked());
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(48, 48));
    EXPECT_FALSE(FindControl<QCheckBox>(*picker, "CheckBox1")->isChecked());
    EXPECT_EQ(captions(*picker), (QStringList{QStringLiteral("Bread"), QStringLiteral("Milk"),
                                              QStringLiteral("O'Neil's Tea"), QStringLiteral("oat milk")}));
    EXPECT_EQ(picker->model()->index(1).data(ProductListModel::BarcodeRole).toString(), QStringLiteral("8690001"));
    EXPECT_TRUE(FindControl<QLineEdit>(*picker, "Edit1")->hasFocus());
}

TEST_F(ProductPickerTest, SearchFindsPartsOfNamesAndBarcodes)
{
    auto picker = openPicker();
    auto* search = FindControl<QLineEdit>(*picker, "Edit1");
    const struct
    {
        QString text;
        QStringList found;
    } cases[] = {{QStringLiteral("milk"), {QStringLiteral("Milk"), QStringLiteral("oat milk")}},
                 {QStringLiteral(" MILK "), {QStringLiteral("Milk"), QStringLiteral("oat milk")}},
                 {QStringLiteral("0004"), {QStringLiteral("oat milk")}},
                 {QStringLiteral("'"), {QStringLiteral("O'Neil's Tea")}},
                 {QStringLiteral("7'1"), {QStringLiteral("O'Neil's Tea")}},
                 {QStringLiteral("nothing"), {}},
                 {QStringLiteral("  "), {QStringLiteral("Bread"), QStringLiteral("Milk"), QStringLiteral("O'Neil's Tea"),
                                         QStringLiteral("oat milk")}}};
    for (const auto& c : cases) {
        search->clear();
        QTest::keyClicks(search, c.text);
        EXPECT_EQ(captions(*picker), c.found) << c.text.toStdString();
    }
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(ProductPickerTest, DisplayPricesRebuildsTheCurrentSearch)
{
    auto picker = openPicker();
    auto* displayPrices = FindControl<QCheckBox>(*picker, "CheckBox1");
    QTest::keyClicks(FindControl<QLineEdit>(*picker, "Edit1"), QStringLiteral("milk"));
    QTest::mouseClick(displayPrices, Qt::LeftButton);
    EXPECT_EQ(captions(*picker), (QStringList{QStringLiteral("Milk [2.5]"), QStringLiteral("oat milk [1.99]")}));
    EXPECT_EQ(setting(QStringLiteral("DisplayPrices")), QStringLiteral("1"));
    QTest::mouseClick(displayPrices, Qt::LeftButton);
    EXPECT_EQ(captions(*picker), (QStringList{QStringLiteral("Milk"), QStringLiteral("oat milk")}));
    EXPECT_EQ(setting(QStringLiteral("DisplayPrices")), QStringLiteral("0"));
}

TEST_F(ProductPickerTest, PlaceSizeViewAndPricesAreRememberedButNotTheSearch)
{
    {
        auto picker = openPicker();
        picker->move(30, 40);
        picker->resize(500, 300);
        QTest::mouseClick(FindControl<QRadioButton>(*picker, "RadioButton2"), Qt::LeftButton);
        QTest::mouseClick(FindControl<QCheckBox>(*picker, "CheckBox1"), Qt::LeftButton);
        QTest::keyClicks(FindControl<QLineEdit>(*picker, "Edit1"), QStringLiteral("bread"));
        pump();
        picker->close();
        // Moving a closed window writes nothing.
        picker->move(60, 70);
        pump();
    }
    EXPECT_EQ(setting(QStringLiteral("ProductsLeft")), QStringLiteral("30"));
    EXPECT_EQ(setting(QStringLiteral("ProductsTop")), QStringLiteral("40"));
    EXPECT_EQ(setting(QStringLiteral("ProductsWidth")), QStringLiteral("500"));
    EXPECT_EQ(setting(QStringLiteral("ProductsHeight")), QStringLiteral("300"));
    EXPECT_EQ(setting(QStringLiteral("ProductsStyle")), QStringLiteral("2"));

    auto picker = openPicker();
    EXPECT_EQ(picker->pos(), QPoint(30, 40));
    EXPECT_EQ(picker->size(), QSize(500, 300));
    EXPECT_TRUE(FindControl<QRadioButton>(*picker, "RadioButton2")->isChecked());
    EXPECT_EQ(FindControl<QListView>(*picker, "ListView1")->viewMode(), QListView::ListMode);
    EXPECT_TRUE(FindControl<QCheckBox>(*picker, "CheckBox1")->isChecked());
    EXPECT_TRUE(FindControl<QLineEdit>(*picker, "Edit1")->text().isEmpty());
    EXPECT_EQ(captions(*picker).size(), 4);
    EXPECT_EQ(captions(*picker).first(), QStringLiteral("Bread [1]"));
}

TEST_F(ProductPickerTest, APlaceOffTheScreenIsCentredOnThatAxis)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    context->settings().WriteInteger(QStringLiteral("ProductsLeft"), screen.width());
    context->settings().WriteInteger(QStringLiteral("ProductsTop"), 25);
    context->settings().WriteInteger(QStringLiteral("ProductsWidth"), 0);
    auto picker = openPicker();
    EXPECT_EQ(picker->pos(), QPoint(screen.width() / 2 - 698 / 2, 25));
    EXPECT_EQ(picker->width(), 698);
}

TEST_F(ProductPickerMenuTest, AClickHandsTheProductToTheSaleListAndClosesThePicker)
{
    form->show();
    EXPECT_TRUE(pick([](TUrunlerForm& picker) {
        QTest::keyClicks(FindControl<QLineEdit>(picker, "Edit1"), QStringLiteral("tea"));
        clickItem(picker, QStringLiteral("O'Neil's Tea"));
    }));
    EXPECT_EQ(dialogs.modalWindows, QStringList{QStringLiteral("UrunlerForm")});
    EXPECT_EQ(saleRows(), QStringList{QStringLiteral("O'Neil's Tea*1")});
    EXPECT_TRUE(form->saleScreen()->pendingBarcode().isEmpty());

    EXPECT_TRUE(pick([](TUrunlerForm& picker) { clickItem(picker, QStringLiteral("O'Neil's Tea")); }));
    EXPECT_EQ(saleRows(), QStringList{QStringLiteral("O'Neil's Tea*2")});
}

TEST_F(ProductPickerMenuTest, EscClosesWithoutAddingAndAVanishedProductKeepsThePickerOpen)
{
    form->show();
    EXPECT_TRUE(pick([](TUrunlerForm& picker) {
        QTest::keyClick(FindControl<QListView>(picker, "ListView1"), Qt::Key_Escape);
    }));
    EXPECT_TRUE(saleRows().isEmpty());

    EXPECT_FALSE(pick([this](TUrunlerForm& picker) {
        exec(QStringLiteral("delete from urunler where barkod='5550100'"));
        clickItem(picker, QStringLiteral("Bread"));
    }));
    EXPECT_TRUE(saleRows().isEmpty());
    EXPECT_EQ(form->saleScreen()->pendingBarcode(), QStringLiteral("5550100"));
}

// The picker sorts by keys folded once; the order must stay the one a case-insensitive compare gives, letters
// outside ASCII and beyond the 16-bit plane included, with equal captions kept in the engine's order.
TEST(ProductListOrder, FoldedKeysOrderAsTheCaseInsensitiveCompare)
{
    const QStringList texts{QStringLiteral("Straße"), QStringLiteral("STRASSE"), QStringLiteral("strasse"),
                            QStringLiteral("İstanbul"), QStringLiteral("istanbul"), QStringLiteral("ISTANBUL"),
                            QStringLiteral("ılık"), QStringLiteral("Σίσυφος"), QStringLiteral("ΣΊΣΥΦΟΣ"),
                            QString::fromUtf8("\xf0\x90\x90\x80" "bc"), QString::fromUtf8("\xf0\x90\x90\xa8" "bc"),
                            QString::fromUtf8("\xee\x80\x80" "x"), QString::fromUtf8("\xf0\x9f\x98\x80"),
                            QStringLiteral("apple"), QStringLiteral("Apple"), QStringLiteral("APPLE"), QString(),
                            QStringLiteral("a b"), QStringLiteral("Ab"), QStringLiteral("ab")};
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const QString& a : texts)
        for (const QString& b : texts)
            EXPECT_EQ(sign(QString::compare(CaseFoldedKey(a), CaseFoldedKey(b))),
                      sign(a.compare(b, Qt::CaseInsensitive)))
                << a.toStdString() << " / " << b.toStdString();

    std::vector<ProductListItem> items;
    for (int i = 0; i < texts.size(); ++i)
        items.push_back({texts.at(texts.size() - 1 - i), QString::number(i)});
    items.push_back({QStringLiteral("apple"), QStringLiteral("second apple")});
    std::vector<ProductListItem> expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](const ProductListItem& a, const ProductListItem& b) {
        const int folded = a.caption.compare(b.caption, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.caption < b.caption;
    });
    SortByCaption(items);
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].barcode, expected[i].barcode) << i;
}

#include "CatalogueFixture.h"
#include "catalogue/ui/CustomersScreen.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

// The customers screen under test and its controls, found by their names.
struct Screen
{
    explicit Screen(CustomersScreen& window) : window(window) {}

    CustomersScreen& window;
    QComboBox* ComboBox2 = FindControl<QComboBox>(window, "ComboBox2");
    QLabel* Label8 = FindControl<QLabel>(window, "Label8");
    QLineEdit* Edit6 = FindControl<QLineEdit>(window, "Edit6");
    QLabel* Label9 = FindControl<QLabel>(window, "Label9");
    QLineEdit* Edit1 = FindControl<QLineEdit>(window, "Edit1");
    QPushButton* BitBtn13 = FindControl<QPushButton>(window, "BitBtn13");
    QPushButton* BitBtn6 = FindControl<QPushButton>(window, "BitBtn6");
    QPushButton* BitBtn11 = FindControl<QPushButton>(window, "BitBtn11");
    QLabel* Image2 = FindControl<QLabel>(window, "Image2");
    QWidget* Panel10 = FindControl<QWidget>(window, "Panel10");
    QListWidget* CheckListBox1 = FindControl<QListWidget>(window, "CheckListBox1");
    QLabel* Label10 = FindControl<QLabel>(window, "Label10");
    QPushButton* BitBtn14 = FindControl<QPushButton>(window, "BitBtn14");
    QPushButton* BitBtn7 = FindControl<QPushButton>(window, "BitBtn7");
};

class CustomersScreenTest : public CatalogueFixture
{
protected:
    void TearDown() override
    {
        quit();
        CatalogueFixture::TearDown();
    }
    // The screen on the test's context (started here when the test has not started it), prepared as the
    // navigation bar's "CUSTOMERS" prepares it.
    Screen open()
    {
        m_screen = std::make_unique<CustomersScreen>(context ? *context : startContext());
        m_screen->setCaptions();
        showActive(*m_screen);
        m_screen->prepare();
        dialogs.clear();
        return Screen(*m_screen);
    }
    // Frees the screen and the context, as leaving the program does.
    void quit()
    {
        m_screen.reset();
        context.reset();
    }
    // Ann owes 2 × 1.50 and 1 × 0.99; she has one paid line and Bob one open line.
    void addCustomersWithCredit()
    {
        exec(QStringLiteral("insert into musteriler (musteriadi, kayittarihi) values "
                            "('Ann', '2024-04-01 09:00:00'), ('Bob', '2024-04-02 10:00:00')"));
        addCredit(QStringLiteral("Ann"), QStringLiteral("111"), QStringLiteral("Milk"), 2, 1.5);
        addCredit(QStringLiteral("Ann"), QStringLiteral("222"), QStringLiteral("Gum"), 1, 0.99);
        addCredit(QStringLiteral("Bob"), QStringLiteral("111"), QStringLiteral("Milk"), 5, 1.5);
        exec(QStringLiteral("insert into veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, odendimi, odemetarihi) "
                            "values ('Ann', '333', 'Tea', 1, 9.99, 1, '2024-04-20 12:00:00')"));
    }
    void addCredit(const QString& customer, const QString& barcode, const QString& product, int quantity, double price)
    {
        exec(QStringLiteral("insert into veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) "
                            "values (?, ?, ?, ?, ?, '2024-05-01 14:03:27')"),
             {customer, barcode, product, quantity, price});
    }
    void type(const Screen& s, const QString& text)
    {
        s.ComboBox2->lineEdit()->selectAll();
        QTest::keyClick(s.ComboBox2->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(s.ComboBox2->lineEdit(), text);
    }
    // "ADD" and "DELETE CUSTOMER" enabled; whether the record date, credit and DETAILS show; the credit text.
    static std::string state(const Screen& s)
    {
        std::string out;
        out += s.BitBtn6->isEnabled() ? '1' : '0';
        out += s.BitBtn11->isEnabled() ? '1' : '0';
        const bool shown = s.Label8->isVisible() && s.Edit6->isVisible() && s.Label9->isVisible()
                           && s.Edit1->isVisible() && s.BitBtn13->isVisible();
        const bool hidden = !s.Label8->isVisible() && !s.Edit6->isVisible() && !s.Label9->isVisible()
                            && !s.Edit1->isVisible() && !s.BitBtn13->isVisible();
        out += shown ? " shown " : hidden ? " hidden " : " mixed ";
        return out + s.Edit1->text().toStdString();
    }
    static QStringList lines(const Screen& s)
    {
        QStringList out;
        for (int i = 0; i < s.CheckListBox1->count(); ++i)
            out << s.CheckListBox1->item(i)->text();
        return out;
    }
    void paid(const Screen& s)
    {
        dialogs.messageAnswers.push_back(Dialogs::Yes);
        QTest::mouseClick(s.BitBtn7, Qt::LeftButton);
    }

private:
    std::unique_ptr<CustomersScreen> m_screen;
};

} // namespace

TEST_F(CustomersScreenTest, LookupShowsTheOpenCreditOfAKnownCustomer)
{
    startContext();
    addCustomersWithCredit();
    const Screen s = open();
    EXPECT_EQ(s.ComboBox2->count(), 2);
    EXPECT_EQ(s.ComboBox2->itemText(0), QStringLiteral("Ann"));
    EXPECT_EQ(state(s), "00 hidden 0.00");
    EXPECT_FALSE(s.Panel10->isVisible());
    EXPECT_TRUE(s.Image2->isVisible());

    type(s, QStringLiteral("Ann"));
    EXPECT_EQ(state(s), "01 shown 3.99");
    EXPECT_EQ(s.Edit6->text(), QStringLiteral("2024-04-01 09:00:00"));

    // A trailing blank makes another name; Enter then moves to "ADD".
    type(s, QStringLiteral("Ann "));
    EXPECT_EQ(state(s), "10 hidden 0");
    QTest::keyClick(s.ComboBox2->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.BitBtn6);
    EXPECT_EQ(s.ComboBox2->count(), 2);

    type(s, QStringLiteral("  "));
    EXPECT_EQ(state(s), "00 hidden 0");

    s.ComboBox2->setCurrentIndex(1);
    EXPECT_EQ(state(s), "01 shown 7.50");
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(CustomersScreenTest, DetailsListTheOpenLinesAndPaidSettlesTheCheckedOnes)
{
    const Screen s = open();
    addCustomersWithCredit();
    type(s, QStringLiteral("Ann"));
    QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
    EXPECT_TRUE(s.Panel10->isVisible());
    EXPECT_FALSE(s.Image2->isVisible());
    EXPECT_EQ(lines(s), (QStringList{QStringLiteral("2024-05-01 14:03:27 2 * Milk = 3.00"),
                                     QStringLiteral("2024-05-01 14:03:27 1 * Gum = 0.99")}));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("3.99"));

    // Nothing checked, or the question answered No: nothing is written and the totals stay.
    paid(s);
    dialogs.messageAnswers.push_back(Dialogs::No);
    s.CheckListBox1->item(0)->setCheckState(Qt::Checked);
    QTest::mouseClick(s.BitBtn7, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Sell by Credit"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(dialogs.shown[0].buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_EQ(count(QStringLiteral("odemeler")), 0);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from veresiyeler where odendimi=1")), QStringLiteral("1"));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("3.99"));
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("3.99"));

    // The Milk line only.
    dialogs.clear();
    s.CheckListBox1->item(0)->setCheckState(Qt::Checked);
    paid(s);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Are you sure?")});
    const QueryResult milk = query(QStringLiteral("select odendimi, odemetarihi from veresiyeler where musteriadi='Ann' "
                                                  "and urunadi='Milk'"));
    EXPECT_EQ(milk.text(0, QStringLiteral("odendimi")), QStringLiteral("1"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(milk.text(0, QStringLiteral("odemetarihi")))
                    .hasMatch());
    const QueryResult payment = query(QStringLiteral("select fisno, barkod, urunadi, adet, fiyat, typeof(fiyat) from odemeler"));
    ASSERT_EQ(payment.size(), 1u);
    EXPECT_EQ(payment.text(0, QStringLiteral("fisno")), QStringLiteral("0"));
    EXPECT_EQ(payment.text(0, QStringLiteral("barkod")), QStringLiteral("111"));
    EXPECT_EQ(payment.text(0, QStringLiteral("urunadi")), QStringLiteral("Milk"));
    EXPECT_EQ(payment.text(0, QStringLiteral("adet")), QStringLiteral("2"));
    EXPECT_EQ(payment.text(0, QStringLiteral("fiyat")), QStringLiteral("1.5"));
    EXPECT_EQ(payment.text(0, QStringLiteral("typeof(fiyat)")), QStringLiteral("real"));
    EXPECT_EQ(lines(s), QStringList{QStringLiteral("2024-05-01 14:03:27 1 * Gum = 0.99")});
    EXPECT_EQ(s.Label10->text(), QStringLiteral("0.99"));
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("0.99"));
    EXPECT_EQ(cell(QStringLiteral("select odendimi from veresiyeler where musteriadi='Bob'")), QStringLiteral("0"));

    // Each settlement is a record of its own, paid in cash unless another payment type is chosen.
    auto* paidBy = FindControl<QComboBox>(s.window, "ComboBoxPaidBy");
    EXPECT_EQ(FindControl<QLabel>(s.window, "LabelPaidBy")->buddy(), paidBy);
    ASSERT_EQ(paidBy->count(), 2);
    EXPECT_EQ(paidBy->itemText(0) + QLatin1Char('/') + paidBy->itemText(1), QStringLiteral("Cash/Card"));
    EXPECT_EQ(paidBy->currentIndex(), 0);
    paidBy->setCurrentIndex(1);
    s.CheckListBox1->item(0)->setCheckState(Qt::Checked);
    paid(s);
    const QueryResult records = query(QStringLiteral(
        "select r.kind || '|' || r.customer_name || '|' || r.total_cents || '|' || t.tender_type || '|' || t.amount_cents"
        " || '|' || (select count(*) from odemeler o where o.sale_id = r.sale_id) from sale_records r"
        " join tenders t on t.sale_id = r.sale_id order by r.id"));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.rows[0][0].asText(), QStringLiteral("settlement|Ann|300|Cash|300|1"));
    EXPECT_EQ(records.rows[1][0].asText(), QStringLiteral("settlement|Ann|99|Card|99|1"));
}

TEST_F(CustomersScreenTest, ACustomerIsDeletedOnlyOnceTheCreditIsSettled)
{
    const Screen s = open();
    addCustomersWithCredit();
    type(s, QStringLiteral("Ann"));
    QTest::mouseClick(s.BitBtn11, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Customer with credit cannot be deleted!"));
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("WARNING"));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(count(QStringLiteral("musteriler")), 2);

    QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
    QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
    for (int i = 0; i < s.CheckListBox1->count(); ++i)
        EXPECT_EQ(s.CheckListBox1->item(i)->checkState(), Qt::Checked);
    paid(s);
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("0.00"));
    EXPECT_EQ(s.CheckListBox1->count(), 0);
    EXPECT_EQ(count(QStringLiteral("odemeler")), 2);

    dialogs.clear();
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    QTest::mouseClick(s.BitBtn11, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Delete Customer"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(cell(QStringLiteral("select group_concat(musteriadi) from musteriler")), QStringLiteral("Bob"));
    // The history stays; the screen shows the first remaining customer.
    EXPECT_EQ(cell(QStringLiteral("select count(*) from veresiyeler where musteriadi='Ann'")), QStringLiteral("3"));
    EXPECT_EQ(count(QStringLiteral("odemeler")), 2);
    EXPECT_EQ(s.ComboBox2->currentText(), QStringLiteral("Bob"));
    EXPECT_EQ(state(s), "01 shown 7.50");
}

TEST_F(CustomersScreenTest, NamesWithQuotesAreAddedFoundAndSettled)
{
    const Screen s = open();
    type(s, QStringLiteral("O'Brien"));
    ASSERT_EQ(state(s), "10 hidden 0");
    QTest::mouseClick(s.BitBtn6, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty()) << dialogs.messageTexts().join(u'|').toStdString();
    EXPECT_EQ(cell(QStringLiteral("select musteriadi from musteriler")), QStringLiteral("O'Brien"));
    EXPECT_EQ(s.ComboBox2->count(), 1);
    EXPECT_EQ(s.ComboBox2->currentText(), QStringLiteral("O'Brien"));
    EXPECT_EQ(state(s), "01 shown 0.00");
    EXPECT_FALSE(s.Edit6->text().isEmpty());

    addCredit(QStringLiteral("O'Brien"), QStringLiteral("9'9"), QStringLiteral("Rock 'n' Roll"), 3, 2);
    s.window.ComboBox2Change();
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("6.00"));
    QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
    EXPECT_EQ(lines(s), QStringList{QStringLiteral("2024-05-01 14:03:27 3 * Rock 'n' Roll = 6.00")});
    QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
    paid(s);
    EXPECT_EQ(cell(QStringLiteral("select barkod || '/' || urunadi from odemeler")), QStringLiteral("9'9/Rock 'n' Roll"));
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("0.00"));
}

TEST_F(CustomersScreenTest, ASettlementThatFailsLeavesTheLinesOpenAndWritesNoPayment)
{
    const QString triggers[] = {
        QStringLiteral("create trigger refuse before update on veresiyeler begin select raise(abort, 'refused'); end"),
        QStringLiteral("create trigger refuse before insert on odemeler "
                       "when new.urunadi = 'Gum' begin select raise(abort, 'refused'); end")};
    for (const QString& trigger : triggers) {
        SCOPED_TRACE(trigger.toStdString());
        quit();
        QFile::remove(dataFile(QStringLiteral("data.db")));
        dialogs.clear();
        const Screen s = open();
        addCustomersWithCredit();
        exec(trigger);
        type(s, QStringLiteral("Ann"));
        QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
        QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
        paid(s);
        EXPECT_EQ(dialogs.messageTexts(), (QStringList{QStringLiteral("Are you sure?"),
                                                       QStringLiteral("Exception raised with message: refused")}));
        EXPECT_EQ(count(QStringLiteral("odemeler")), 0);
        EXPECT_EQ(cell(QStringLiteral("select count(*) from veresiyeler where odendimi=0 and odemetarihi is null")),
                  QStringLiteral("3"));
        EXPECT_EQ(s.CheckListBox1->count(), 2);
        EXPECT_EQ(s.Edit1->text(), QStringLiteral("3.99"));
        // The connection is usable again afterwards.
        exec(QStringLiteral("drop trigger refuse"));
        QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
        paid(s);
        EXPECT_EQ(count(QStringLiteral("odemeler")), 2);
        EXPECT_EQ(s.Edit1->text(), QStringLiteral("0.00"));
    }
}

TEST_F(CustomersScreenTest, ALineSettledMeanwhileIsNotPaidTwiceAndTheScreenSaysSo)
{
    const Screen s = open();
    addCustomersWithCredit();
    type(s, QStringLiteral("Ann"));
    QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
    exec(QStringLiteral("update veresiyeler set odendimi=1 where urunadi='Milk' and musteriadi='Ann'"));
    QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
    paid(s);
    EXPECT_EQ(cell(QStringLiteral("select group_concat(urunadi) from odemeler")), QStringLiteral("Gum"));
    EXPECT_EQ(s.Edit1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Are you sure?"),
                           QStringLiteral("Some of the lines were settled on another till in the meantime. "
                                          "They were not paid again.")}));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Information);

    // Every checked line settled meanwhile: nothing is paid.
    dialogs.clear();
    type(s, QStringLiteral("Bob"));
    QTest::mouseClick(s.BitBtn13, Qt::LeftButton);
    exec(QStringLiteral("update veresiyeler set odendimi=1 where musteriadi='Bob'"));
    QTest::mouseClick(s.BitBtn14, Qt::LeftButton);
    paid(s);
    EXPECT_EQ(count(QStringLiteral("odemeler")), 1);
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Are you sure?"),
                           QStringLiteral("These lines were settled on another till in the meantime. "
                                          "Nothing was settled.")}));
}

#include "support/AppFixture.h"
#include "support/QueryRows.h"

#include <QAction>
#include <QFile>

// The "Export", "Import" and "Delete" entries of the main window's "Operations" menu, on a real data.db and on a
// database on the test server.

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class DataExchangeTest : public AppFixture, public ::testing::WithParamInterface<Engine>
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        if (!HasFatalFailure() && onServer())
            useNewDatabase(GetParam());
    }

    bool onServer() const { return GetParam() == Engine::Postgres; }

    void run(const char* actionName)
    {
        QAction* a = form->action(QString::fromLatin1(actionName));
        ASSERT_NE(a, nullptr) << actionName;
        a->trigger();
    }

    void exec(const QString& sql, const std::vector<QVariant>& params = {})
    {
        ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(sql, params));
    }

    QStringList rows(const QString& sql)
    {
        return QueryRows(form->context().SQLConnection1(), sql);
    }

    qint64 count(const QString& table)
    {
        const QueryResult r = form->context().SQLConnection1().Query(QStringLiteral("select count(*) from ") + table);
        return r.empty() ? -1 : r.rows[0][0].asInteger();
    }

    void addCatalogue()
    {
        exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values "
                            "('8690', 'Milk', 2.5, 10, '2024-05-01 14:03:27'), "
                            "('42', 'O''Brien Tea', 3, 0, '2024-05-02 09:00:00'), "
                            "('7', 'Gum', 0.99, -2, '2024-05-03 10:00:00')"));
    }

    void fillEveryTable()
    {
        addCatalogue();
        exec(QStringLiteral("insert into musteriler (musteriadi, kayittarihi) values ('Ayla', '2024-05-01 14:03:27')"));
        exec(QStringLiteral("insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) values (?,?,?,?,?,?)"),
             {3, QStringLiteral("8690"), QStringLiteral("Milk"), 2, 2.5, QStringLiteral("2024-05-01 14:03:27")});
        exec(QStringLiteral("insert into veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi, "
                            "kayittarihi) values (1, 'Ayla', '42', 'Tea', 2, 1.25, 1, '2024-05-02 08:00:00')"));
    }

    QString file(const char* name) const { return dataFile(QString::fromLatin1(name)); }
};

TEST_P(DataExchangeTest, ExportedProductsImportAgainAsTheSameCatalogue)
{
    start();
    addCatalogue();
    const QString catalogue = QStringLiteral("select barkod, urunadi, fiyat, stok from urunler order by id");
    const QStringList before = rows(catalogue);

    dialogs.fileAnswers.push_back(file("products.csv"));
    run("ExportProducts1");
    ASSERT_TRUE(QFile::exists(file("products.csv")));
    dialogs.messageAnswers.push_back(Dialogs::Yes);
    run("DeleteProducts1");
    ASSERT_EQ(count(QStringLiteral("urunler")), 0);

    dialogs.clear();
    dialogs.fileAnswers.push_back(file("products.csv"));
    run("ImportProducts1");
    EXPECT_EQ(rows(catalogue), before);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs.shown[0].file.filter, QStringLiteral("CSV File|*.csv"));
    EXPECT_EQ(dialogs.shown[0].file.defaultSuffix, QStringLiteral("csv"));
    const ScriptedDialogs::Shown& told = dialogs.shown[1];
    EXPECT_EQ(told.caption, QStringLiteral("Import"));
    EXPECT_EQ(told.text, QStringLiteral("Imported: 3 entries"));
    EXPECT_EQ(told.icon, Dialogs::Icon::Information);
    EXPECT_EQ(told.buttons, int(Dialogs::Ok));
}

TEST_P(DataExchangeTest, EachTableExportWritesItsFileThroughTheSharedSaveDialog)
{
    start();
    fillEveryTable();
    const struct
    {
        const char* action;
        const char* file;
        QByteArray content;
    } exports[] = {
        {"ExportProducts1", "products.csv",
         "Barcode;Product;Price;Stock;Datetime\r\n8690;Milk;2.50;10;2024-05-01 14:03:27\r\n"
         "42;O'Brien Tea;3.00;0;2024-05-02 09:00:00\r\n7;Gum;0.99;-2;2024-05-03 10:00:00\r\n"},
        {"ExportCustomers1", "customers.csv",
         "ID;Customer;Datetime;Date;Time\r\n1;Ayla;2024-05-01 14:03:27;2024-05-01;14:03:27\r\n"},
        {"ExportPayments1", "payments.csv",
         "ID;Barcode;Product;Price;Unit;Datetime;Date;Time\r\n"
         "1;8690;Milk;2.50;2;2024-05-01 14:03:27;2024-05-01;14:03:27\r\n"},
        {"ExportCredits1", "credits.csv",
         "ID;Customer;Barcode;Product;Price;Quantity;Total;Paid;Datetime;Date;Time\r\n"
         "1;Ayla;42;Tea;1.25;2;2.50;PAID;2024-05-02 08:00:00;2024-05-02;08:00:00\r\n"},
    };
    QString chosenBefore;
    for (const auto& e : exports) {
        dialogs.clear();
        dialogs.fileAnswers.push_back(file(e.file));
        run(e.action);
        EXPECT_EQ(bytesOf(file(e.file)), e.content) << e.action;
        ASSERT_EQ(dialogs.shown.size(), 1u) << e.action;
        const Dialogs::FileRequest& request = dialogs.shown[0].file;
        EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("save"));
        EXPECT_EQ(request.filter, QStringLiteral("CSV File (*.csv)|*.csv")) << e.action;
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("csv"));
        EXPECT_TRUE(request.confirmOverwrite);
        // Later runs of the shared dialog propose the file chosen before, in its folder; the first none.
        EXPECT_EQ(request.fileName, chosenBefore) << e.action;
        EXPECT_EQ(request.folder.isEmpty(), chosenBefore.isEmpty()) << e.action;
        chosenBefore = file(e.file);
    }
}

TEST_P(DataExchangeTest, CreditsExportAsTheFirstOfTheRunUsesTheDialogAsCreated)
{
    start();
    dialogs.fileAnswers.push_back(file("credits.csv"));
    run("ExportCredits1");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].file.filter, QStringLiteral("CSV File|*.csv"));
    EXPECT_EQ(dialogs.shown[0].file.defaultSuffix, QStringLiteral("csv"));
    EXPECT_EQ(bytesOf(file("credits.csv")),
              QByteArray("ID;Customer;Barcode;Product;Price;Quantity;Total;Paid;Datetime;Date;Time\r\n"));
}

TEST_P(DataExchangeTest, CancelledDialogsWriteAndImportNothing)
{
    start();
    fillEveryTable();
    for (const char* name : {"ExportProducts1", "ExportCustomers1", "ExportPayments1", "ExportCredits1"})
        run(name);
    run("ImportProducts1");
    EXPECT_EQ(dialogs.shown.size(), 5u);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_EQ(count(QStringLiteral("urunler")), 3);
    QStringList csvFiles = QDir(programFolder()).entryList({QStringLiteral("*.csv")});
    EXPECT_TRUE(csvFiles.isEmpty()) << csvFiles.join(QLatin1Char(' ')).toStdString();
}

TEST_P(DataExchangeTest, ExportProblemsAreShownAndLeaveTheOldFile)
{
    start();
    if (!onServer()) { // a server keeps prices as numbers only
        exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat) values ('1', 'Odd', 'abc')"));
        QFile old(file("products.csv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous");
        old.close();
        dialogs.fileAnswers.push_back(file("products.csv"));
        run("ExportProducts1");
        ASSERT_NE(dialogs.lastMessage(), nullptr);
        EXPECT_EQ(dialogs.lastMessage()->text, QStringLiteral("'abc' is not a valid floating point value"));
        EXPECT_EQ(bytesOf(file("products.csv")), QByteArray("previous"));
    }

    dialogs.clear();
    dialogs.fileAnswers.push_back(file("missing-folder/customers.csv"));
    run("ExportCustomers1");
    ASSERT_NE(dialogs.lastMessage(), nullptr);
    EXPECT_EQ(dialogs.lastMessage()->caption, form->context().AppTitle);

    dialogs.clear();
    dialogs.fileAnswers.push_back(file("missing.csv"));
    run("ImportProducts1");
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_FALSE(dialogs.messageTexts().first().startsWith(QStringLiteral("Imported:")));
}

TEST_P(DataExchangeTest, DeleteEntriesRefuseOutsideAdministratorMode)
{
    writeSettings({QStringLiteral("SecretAdmin64=c2VjcmV0")});
    start();
    ASSERT_FALSE(form->context().isAdmin());
    fillEveryTable();
    for (const char* name : {"DeleteProducts1", "DeleteCustomers1", "DeletePayments1", "DeleteCredits1"}) {
        dialogs.clear();
        dialogs.messageAnswers.push_back(Dialogs::Yes); // would confirm, but no question may be asked
        run(name);
        ASSERT_EQ(dialogs.shown.size(), 1u) << name;
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("You are not logged as admin!"));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("WARNING"));
        EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Warning);
        dialogs.messageAnswers.clear();
    }
    for (const char* table : {"urunler", "musteriler", "odemeler", "veresiyeler"})
        EXPECT_GT(count(QLatin1String(table)), 0) << table;
}

TEST_P(DataExchangeTest, DeleteEntriesAskAndEmptyOnlyTheirTableOnYes)
{
    start();
    ASSERT_TRUE(form->context().isAdmin());
    const struct
    {
        const char* action;
        const char* table;
        const char* question;
    } entries[] = {
        {"DeleteProducts1", "urunler", "Are you sure you want to delete all products?"},
        {"DeleteCustomers1", "musteriler", "Are you sure you want to delete all customers?"},
        {"DeletePayments1", "odemeler", "Are you sure you want to delete all payments?"},
        {"DeleteCredits1", "veresiyeler", "Are you sure you want to delete all credits?"},
    };
    for (const auto& e : entries) {
        exec(QStringLiteral("delete from urunler; delete from musteriler; delete from odemeler; delete from veresiyeler"));
        fillEveryTable();
        dialogs.clear();
        dialogs.messageAnswers.push_back(Dialogs::No);
        run(e.action);
        ASSERT_EQ(dialogs.shown.size(), 1u) << e.action;
        EXPECT_EQ(dialogs.shown[0].text, QLatin1String(e.question));
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Confirm"));
        EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Question);
        EXPECT_EQ(dialogs.shown[0].buttons, Dialogs::Yes | Dialogs::No);
        EXPECT_GT(count(QLatin1String(e.table)), 0) << e.action;

        dialogs.messageAnswers.push_back(Dialogs::Yes);
        run(e.action);
        for (const char* table : {"urunler", "musteriler", "odemeler", "veresiyeler"})
            EXPECT_EQ(count(QLatin1String(table)) == 0, QByteArrayView(table) == QByteArrayView(e.table))
                << e.action << " " << table;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DataExchangeTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

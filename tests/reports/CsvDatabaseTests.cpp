#include "reports/BulkDelete.h"
#include "reports/CsvFile.h"
#include "reports/ProductImport.h"
#include "reports/SalesHistory.h"
#include "reports/StockCountSheet.h"
#include "reports/TableExport.h"
#include "support/EngineDatabaseTest.h"

#include <QFile>

namespace {

// The exports, the import and the bulk delete on data.db and on a database on the test server: the same data
// gives the same file on both.
class CsvDatabaseTest : public EngineDatabaseTest
{
protected:
    void exec(const QString& sql, const std::vector<QVariant>& params = {})
    {
        ASSERT_TRUE(db.ExecuteDirect(sql, params)) << reported.join(QLatin1Char('\n')).toStdString();
    }

    void addProduct(const QString& barcode, const QString& name, const QVariant& price, const QVariant& stock,
                    const QString& registered)
    {
        exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) values (?, ?, ?, ?, ?)"),
             {barcode, name, price, stock, registered});
    }

    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    static void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    qint64 count(const char* table)
    {
        const QueryResult r = db.Query(QStringLiteral("select count(*) as n from ") + QLatin1String(table));
        return r.empty() ? -1 : r.value(0, QStringLiteral("n")).asInteger();
    }
};

TEST_P(CsvDatabaseTest, ProductsExportWritesTwoDecimalPricesAndUnquotedFields)
{
    addProduct(QStringLiteral("8690"), QStringLiteral("S\u00fct;1 L"), 2.5, 10, QStringLiteral("2024-05-01 14:03:27"));
    addProduct(QStringLiteral("42"), QStringLiteral("Tea \"Earl\""), 3, 0, QStringLiteral("2024-05-02 09:00:00"));
    addProduct(QStringLiteral("7"), QStringLiteral("Gum"), 1.005, 5, QStringLiteral("2024-05-03 10:00:00"));
    addProduct(QStringLiteral("8"), QStringLiteral("Free"), QVariant(), 1, QStringLiteral("2024-05-03 11:00:00"));

    const QString path = file("products.csv");
    const CsvExportResult result = ExportProductsCsv(db, QLatin1Char(';'), path);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(result.rows, 4);
    EXPECT_EQ(bytesOf(path), QByteArray("Barcode;Product;Price;Stock;Datetime\r\n"
                                        "8690;S\xC3\xBCt;1 L;2.50;10;2024-05-01 14:03:27\r\n"
                                        "42;Tea \"Earl\";3.00;0;2024-05-02 09:00:00\r\n"
                                        "7;Gum;1.01;5;2024-05-03 10:00:00\r\n"
                                        "8;Free;0.00;1;2024-05-03 11:00:00\r\n"));
}

TEST_P(CsvDatabaseTest, CustomerPaymentAndCreditExportsSplitDateAndTime)
{
    exec(QStringLiteral("insert into musteriler (musteriadi, kayittarihi) values (?, ?), (?, ?)"),
         {QStringLiteral("Ay\u015fe"), QStringLiteral("2024-05-01 14:03:27"), QStringLiteral("Old"),
          QStringLiteral("legacy")});
    exec(QStringLiteral("insert into odemeler (fisno, barkod, urunadi, adet, fiyat, odemetarihi) values "
                        "(5, '8690', 'Milk', 2, 1.5, '2024-05-01 14:03:27')"));
    exec(QStringLiteral("insert into veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi, "
                        "kayittarihi) values (1, 'Ay\u015fe', '8690', 'Milk', 3, 1.15, 0, '2024-05-01 14:03:27'), "
                        "(1, 'Ay\u015fe', '42', 'Tea', 1, 4, 1, '2024-05-02 08:00:00')"));

    ASSERT_TRUE(ExportCustomersCsv(db, QLatin1Char(','), file("customers.csv")).ok());
    EXPECT_EQ(bytesOf(file("customers.csv")), QByteArray("ID,Customer,Datetime,Date,Time\r\n"
                                                         "1,Ay\xC5\x9F" "e,2024-05-01 14:03:27,2024-05-01,14:03:27\r\n"
                                                         "2,Old,legacy,,legacy\r\n"));

    ASSERT_TRUE(ExportPaymentsCsv(db, QLatin1Char(','), file("payments.csv")).ok());
    EXPECT_EQ(bytesOf(file("payments.csv")), QByteArray("ID,Barcode,Product,Price,Unit,Datetime,Date,Time\r\n"
                                                        "1,8690,Milk,1.50,2,2024-05-01 14:03:27,2024-05-01,14:03:27\r\n"));

    const CsvExportResult credits =
        ExportTableCsv(db, DataTable::Credits, QLatin1Char(','), QStringLiteral("\u00d6DEND\u0130"), file("credits.csv"));
    ASSERT_TRUE(credits.ok());
    EXPECT_EQ(bytesOf(file("credits.csv")),
              QByteArray("ID,Customer,Barcode,Product,Price,Quantity,Total,Paid,Datetime,Date,Time\r\n"
                         "1,Ay\xC5\x9F" "e,8690,Milk,1.15,3,3.45,-,2024-05-01 14:03:27,2024-05-01,14:03:27\r\n"
                         "2,Ay\xC5\x9F" "e,42,Tea,4.00,1,4.00,\xC3\x96" "DEND\xC4\xB0,2024-05-02 08:00:00,2024-05-02,08:00:00\r\n"));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_P(CsvDatabaseTest, ExportWritesNothingWhenAPriceIsNotANumberOrTheQueryFails)
{
    if (!onServer()) { // a server keeps prices as numbers only
        addProduct(QStringLiteral("1"), QStringLiteral("Good"), 1, 1, QStringLiteral("2024-05-01 10:00:00"));
        addProduct(QStringLiteral("2"), QStringLiteral("Bad"), QStringLiteral("abc"), 1, QStringLiteral("2024-05-01 10:00:00"));
        const QString path = file("products.csv");
        writeBytes(path, "previous export");
        const CsvExportResult bad = ExportProductsCsv(db, QLatin1Char(';'), path);
        EXPECT_EQ(bad.status, CsvExportResult::Status::BadValue);
        EXPECT_EQ(bad.message, QStringLiteral("'abc' is not a valid floating point value"));
        EXPECT_EQ(bytesOf(path), QByteArray("previous export"));
    }

    exec(QStringLiteral("drop table odemeler"));
    const CsvExportResult failed = ExportPaymentsCsv(db, QLatin1Char(';'), file("payments.csv"));
    EXPECT_EQ(failed.status, CsvExportResult::Status::QueryFailed);
    EXPECT_FALSE(reported.isEmpty());
    EXPECT_FALSE(QFile::exists(file("payments.csv")));
}

TEST_P(CsvDatabaseTest, ExportedProductsImportAgainWithoutTheHeader)
{
    addProduct(QStringLiteral("8690"), QStringLiteral("Milk"), 2.5, 10, QStringLiteral("2024-05-01 14:03:27"));
    addProduct(QStringLiteral("42"), QStringLiteral("O'Brien Tea"), 3.125, 0, QStringLiteral("2024-05-02 09:00:00"));
    const QString path = file("products.csv");
    ASSERT_TRUE(ExportProductsCsv(db, QLatin1Char(';'), path).ok());

    const ProductImportResult result = ImportProducts(db, path, QLatin1Char(';'), 1252, {});
    EXPECT_TRUE(result.fileRead);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(result.failed, 0);
    const QueryResult rows = db.Query(QStringLiteral("select barkod, urunadi, fiyat, stok from urunler where id > 2 order by id"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.text(0, QStringLiteral("barkod")), QStringLiteral("8690"));
    EXPECT_EQ(rows.text(0, QStringLiteral("urunadi")), QStringLiteral("Milk"));
    EXPECT_DOUBLE_EQ(rows.value(0, QStringLiteral("fiyat")).asDouble(), 2.5);
    EXPECT_EQ(rows.value(0, QStringLiteral("stok")).asInteger(), 10);
    EXPECT_EQ(rows.text(1, QStringLiteral("urunadi")), QStringLiteral("O'Brien Tea"));
    EXPECT_DOUBLE_EQ(rows.value(1, QStringLiteral("fiyat")).asDouble(), 3.13);
}

TEST_P(CsvDatabaseTest, ImportCountsEveryInsertTriedAndGoesOnAfterAFailure)
{
    if (onServer())
        GTEST_SKIP() << "a server takes the lines in one COPY (EngineTest)";
    exec(QStringLiteral("create trigger refuse before insert on urunler when new.barkod = 'bad' "
                        "begin select raise(abort, 'refused'); end"));
    const QString path = file("import.csv");
    // Windows-1252, as a spreadsheet on a Western European system saves it.
    writeBytes(path, "Barcode;Product;Price;Stock\r\n1;Caf\xE9 cr\xE8me;2,5;3\r\nbad;Refused;1;1\r\n"
                     ";No barcode;1;1\r\n3;;1;1\r\n4;Na\xEFve\r\n5;Na\xEFve;;\r\n");
    const ProductImportResult result = ImportProducts(db, path, QLatin1Char(';'), 1252,
                                                      [this](const QString& message) { reported << message; });
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.failed, 1);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains(QStringLiteral("refused")));

    const QueryResult rows = db.Query(QStringLiteral("select barkod, urunadi, fiyat, stok from urunler order by id"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.text(0, QStringLiteral("urunadi")), QStringLiteral("Caf\u00e9 cr\u00e8me"));
    EXPECT_EQ(rows.text(0, QStringLiteral("fiyat")), QStringLiteral("2,5")); // taken literally
    EXPECT_EQ(rows.text(1, QStringLiteral("barkod")), QStringLiteral("5"));
    EXPECT_EQ(rows.text(1, QStringLiteral("fiyat")), QStringLiteral("0"));
    EXPECT_EQ(rows.text(1, QStringLiteral("stok")), QStringLiteral("0"));
    // The transaction was committed.
    EXPECT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.Commit());
}

TEST_P(CsvDatabaseTest, ImportOfAnEmptyOrUnreadableFileInsertsNothing)
{
    const QString empty = file("empty.csv");
    writeBytes(empty, QByteArray());
    const ProductImportResult none = ImportProducts(db, empty, QLatin1Char(';'), 1252, {});
    EXPECT_TRUE(none.fileRead);
    EXPECT_EQ(none.imported, 0);

    const ProductImportResult missing = ImportProducts(db, file("missing.csv"), QLatin1Char(';'), 1252, {});
    EXPECT_FALSE(missing.fileRead);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(count("urunler"), 0);
    EXPECT_TRUE(reported.isEmpty());
}

TEST_P(CsvDatabaseTest, DeleteAllEmptiesOnlyTheChosenTable)
{
    const struct
    {
        DataTable table;
        const char* name;
    } tables[] = {
        {DataTable::Products, "urunler"},
        {DataTable::Customers, "musteriler"},
        {DataTable::Payments, "odemeler"},
        {DataTable::Credits, "veresiyeler"},
    };
    for (const auto& t : tables)
        exec(QStringLiteral("insert into %1 default values").arg(QLatin1String(t.name)));

    for (size_t i = 0; i < std::size(tables); ++i) {
        ASSERT_TRUE(DeleteAllRows(db, tables[i].table));
        for (size_t j = 0; j < std::size(tables); ++j)
            EXPECT_EQ(count(tables[j].name), j <= i ? 0 : 1) << tables[i].name << " then " << tables[j].name;
    }
    EXPECT_EQ(DeleteAllQuestion(DataTable::Credits), QStringLiteral("Are you sure you want to delete all credits?"));
}

TEST_P(CsvDatabaseTest, TheStockSheetAndTheHistoryListsComeInTheSameOrderOnBothEngines)
{
    // Equal stocks, a stock that was never set, and the lines of one sale sharing their date-time.
    addProduct(QStringLiteral("3"), QStringLiteral("Third"), 1, 5, QStringLiteral("2024-05-01 10:00:00"));
    addProduct(QStringLiteral("1"), QStringLiteral("None"), 2, QVariant(), QStringLiteral("2024-05-01 10:00:00"));
    addProduct(QStringLiteral("2"), QStringLiteral("Second"), 1.5, 5, QStringLiteral("2024-05-01 10:00:00"));
    addProduct(QStringLiteral("4"), QStringLiteral("Most"), 3, 9, QStringLiteral("2024-05-01 10:00:00"));
    std::vector<QString> cells;
    ASSERT_TRUE(LoadStockSheet(db, cells));
    QStringList barcodes;
    for (size_t i = 0; i < cells.size(); i += 5)
        barcodes << cells[i];
    EXPECT_EQ(barcodes, (QStringList{"4", "3", "2", "1"}));

    for (const char* name : {"Zeta", "Alpha", "Mid"})
        exec(QStringLiteral("insert into odemeler (fisno, barkod, urunadi, adet, fiyat, odemetarihi) values "
                            "(7, 'b', ?, 1, 2.5, '2024-05-01 14:03:27')"),
             {QLatin1String(name)});
    exec(QStringLiteral("insert into odemeler (fisno, barkod, urunadi, adet, fiyat, odemetarihi) values "
                        "(6, 'a', 'Early', 2, 1, '2024-05-01 09:00:00')"));
    for (const char* name : {"Zeta", "Alpha"})
        exec(QStringLiteral("insert into veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) values "
                            "('Ann', 'b', ?, 1, 2.5, '2024-05-01 14:03:27')"),
             {QLatin1String(name)});
    const HistoryFilter day{QString(), QString(), QStringLiteral("2024-05-01 00:00:00"),
                            QStringLiteral("2024-05-01 23:59:59")};
    PaymentsListModel payments;
    CreditsListModel credits;
    ASSERT_TRUE(payments.load(db, day));
    ASSERT_TRUE(credits.load(db, day));
    QStringList products;
    for (int row = 0; row < payments.rowCount(); ++row)
        products << payments.text(row, PaymentsListModel::Product);
    for (int row = 0; row < credits.rowCount(); ++row)
        products << credits.text(row, CreditsListModel::Product);
    EXPECT_EQ(products, (QStringList{"Early", "Zeta", "Alpha", "Mid", "Zeta", "Alpha"}));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, CsvDatabaseTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

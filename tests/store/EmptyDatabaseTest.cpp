#include "StoreFixture.h"

#include "store/sqlite/SqliteDatabaseFile.h"

#include <QFile>
#include <QRegularExpression>

// empty.db as the build places it beside the program.
TEST_F(StoreTest, TheDeliveredEmptyDatabaseHasTheProgramsTablesAndDateTimeDefaults)
{
    const QString delivered = QStringLiteral(QUENVALE_RUNTIME_DIR "/empty.db");
    ASSERT_TRUE(IsSqliteDatabaseFile(delivered));
    ASSERT_TRUE(QFile::copy(delivered, pathOf("data.db")));
    ASSERT_TRUE(db.open(pathOf("data.db")));

    const QueryResult tables =
        db.Query("SELECT name FROM sqlite_master where type='table' and name not like 'sqlite%' order by name;");
    QStringList names;
    for (size_t i = 0; i < tables.size(); ++i)
        names << tables.text(i, "name");
    EXPECT_EQ(names, (QStringList{"cash_movements", "musteriler", "odemeler", "sale_records", "tender_types", "tenders",
                                  "till_sessions", "urunler", "veresiyeler", "z_report_tenders", "z_reports"}));

    const qint64 version = db.Query("PRAGMA schema_version;").value(0, "schema_version").asInteger();
    db.Migrate();
    EXPECT_EQ(db.Query("PRAGMA schema_version;").value(0, "schema_version").asInteger(), version);

    ASSERT_TRUE(db.ExecuteDirect("insert into urunler (barkod, urunadi, fiyat) values ('1','Milk','2.5');"
                                 "insert into musteriler (musteriadi) values ('Ayse');"
                                 "insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat)"
                                 " values ('1','Ayse','1','Milk','2','2.5');"
                                 "insert into odemeler (barkod,urunadi,adet,fiyat) values ('1','Milk','3','2.5');"));
    const QRegularExpression dateTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    struct Default
    {
        const char* sql;
        const char* column;
    };
    for (const Default& d : {Default{"SELECT * FROM urunler;", "kayittarihi"},
                             Default{"SELECT * FROM musteriler;", "kayittarihi"},
                             Default{"SELECT * FROM veresiyeler;", "kayittarihi"},
                             Default{"SELECT * FROM odemeler;", "odemetarihi"}}) {
        SCOPED_TRACE(d.sql);
        const QueryResult r = db.Query(d.sql);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r.text(0, "id"), "1");
        EXPECT_TRUE(dateTime.match(r.text(0, d.column)).hasMatch()) << r.text(0, d.column).toStdString();
    }
    const QueryResult credit = db.Query("SELECT odendimi, odemetarihi FROM veresiyeler;");
    EXPECT_EQ(credit.text(0, "odendimi"), "0");
    EXPECT_TRUE(credit.value(0, "odemetarihi").isNull());
    EXPECT_EQ(db.Query("SELECT stok FROM urunler;").text(0, "stok"), "0");
    EXPECT_EQ(db.Query("SELECT fisno FROM odemeler;").text(0, "fisno"), "0");
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

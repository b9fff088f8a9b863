#include "StoreFixture.h"

namespace {

// The tables as the first versions of the program created them.
const QString kOldTables = QStringLiteral(
    "CREATE TABLE urunler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, fiyat NUMERIC,"
    " kayittarihi DATETIME DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE musteriler (id INTEGER PRIMARY KEY AUTOINCREMENT, musteriadi TEXT,"
    " kayittarihi DATETIME DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE veresiyeler (id INTEGER PRIMARY KEY AUTOINCREMENT, musteriid INTEGER, musteriadi TEXT,"
    " barkod TEXT, urunadi TEXT, adet INTEGER, fiyat NUMERIC, odendimi INTEGER DEFAULT 0,"
    " kayittarihi DATETIME DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE odemeler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, adet INTEGER,"
    " fiyat NUMERIC, odemetarihi DATETIME DEFAULT (datetime('now','localtime')));"
    "insert into urunler (barkod, urunadi, fiyat) values ('8690000000017','Milk','2.5'),"
    " ('8690000000024','Bread','1.25');"
    "insert into musteriler (musteriadi) values ('Ayse');"
    "insert into veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat)"
    " values (1,'Ayse','8690000000017','Milk',2,'2.5');"
    "insert into odemeler (barkod, urunadi, adet, fiyat) values ('8690000000024','Bread',3,'1.25');");

qint64 SchemaVersion(Database& db)
{
    return db.Query("PRAGMA schema_version;").value(0, "schema_version").asInteger();
}

QStringList Column(Database& db, const QString& sql)
{
    const QueryResult r = db.Query(sql);
    QStringList texts;
    for (size_t i = 0; i < r.size(); ++i)
        texts << (r.rows[i][0].isNull() ? QStringLiteral("NULL") : r.rows[i][0].asText());
    return texts;
}

} // namespace

TEST_F(StoreTest, MigrationAddsTheMissingColumnsOnceAndKeepsTheRows)
{
    openNew("data.db", kOldTables);
    db.Migrate();
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();

    EXPECT_EQ(Column(db, "SELECT stok FROM urunler order by id;"), (QStringList{"0", "0"}));
    EXPECT_EQ(Column(db, "SELECT odemetarihi FROM veresiyeler;"), QStringList{"NULL"});
    EXPECT_EQ(db.Query("SELECT odemetarihi FROM veresiyeler;").text(0, "odemetarihi"), "");
    EXPECT_EQ(Column(db, "SELECT fisno FROM odemeler;"), QStringList{"0"});
    EXPECT_EQ(Column(db, "SELECT urunadi || '=' || fiyat FROM urunler order by id;"),
              (QStringList{"Milk=2.5", "Bread=1.25"}));

    // The second start finds every column and changes nothing.
    const qint64 version = SchemaVersion(db);
    db.Migrate();
    EXPECT_EQ(SchemaVersion(db), version);
    EXPECT_TRUE(reported.isEmpty());

    // A new product row gets the column's default.
    ASSERT_TRUE(db.ExecuteDirect("insert into urunler (barkod, urunadi, fiyat) values (?,?,?);", {"1", "Tea", "4"}));
    EXPECT_EQ(Column(db, "SELECT stok FROM urunler where barkod='1';"), QStringList{"0"});
}

TEST_F(StoreTest, MigrationReportsAFailingCheckAndGoesOnWithTheNext)
{
    // The column name is compared exactly, so "STOK" does not count as stok; the ALTER then fails on the
    // engine's case-insensitive names. odemeler is missing altogether.
    openNew("data.db",
            "CREATE TABLE urunler (id INTEGER PRIMARY KEY, barkod TEXT, STOK INTEGER);"
            "CREATE TABLE veresiyeler (id INTEGER PRIMARY KEY, odendimi INTEGER DEFAULT 0);");
    db.Migrate();
    EXPECT_EQ(reported, (QStringList{"duplicate column name: stok", "no such table: odemeler"}));
    EXPECT_EQ(db.Query("PRAGMA table_info(veresiyeler);").size(), 3u);
}

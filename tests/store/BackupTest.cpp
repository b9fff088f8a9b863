#include "StoreFixture.h"

#include "store/DataFileTemplate.h"
#include "store/DatabaseEngine.h"
#include "store/sqlite/SqliteDatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kProducts = QStringLiteral(
    "CREATE TABLE urunler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, fiyat NUMERIC,"
    " stok INTEGER DEFAULT 0);"
    "insert into urunler (barkod, urunadi, fiyat, stok) values ('8690000000017','Milk','2.5',10),"
    " ('8690000000024','O''Neil''s Bread','1.25',3);");

QStringList Products(Database& db)
{
    const QueryResult r = db.Query("SELECT barkod, urunadi, fiyat, stok FROM urunler order by id;");
    QStringList rows;
    for (size_t i = 0; i < r.size(); ++i)
        rows << QStringList{r.text(i, "barkod"), r.text(i, "urunadi"), r.text(i, "fiyat"), r.text(i, "stok")}.join('|');
    return rows;
}

// The backup of the database the connection is on, as the Backup command writes it.
bool WriteBackup(Database& db, const QString& target, QString* error = nullptr)
{
    return EngineFor(db.path()).writeBackup(db.path(), target, error, {});
}

} // namespace

TEST_F(StoreTest, BackupCopiesTheRowsWhileTheConnectionStaysOpen)
{
    openNew("data.db", kProducts);
    const QString target = pathOf("backup.db");
    writeFile(target, "an older file of that name");

    QString error;
    ASSERT_TRUE(WriteBackup(db, target, &error)) << error.toStdString();
    EXPECT_TRUE(IsSqliteDatabaseFile(target));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"backup.db", "data.db"}));

    // The connection goes on working, and the backup keeps the state at the time it was made.
    EXPECT_TRUE(db.isOpen());
    ASSERT_TRUE(db.ExecuteDirect("insert into urunler (barkod, urunadi) values (?, ?);", {"1", "Tea"}));
    Database copy;
    ASSERT_TRUE(copy.open(target));
    EXPECT_EQ(Products(copy),
              (QStringList{"8690000000017|Milk|2.5|10", "8690000000024|O'Neil's Bread|1.25|3"}));
    EXPECT_EQ(Products(db).size(), 3);

    // Backing up onto the database file itself leaves it as it is.
    ASSERT_TRUE(WriteBackup(db, pathOf("data.db")));
    EXPECT_EQ(Products(db).size(), 3);
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreTest, AFailedBackupLeavesTheTargetAsItWas)
{
    // The connection is on a file that is not a database, so there is nothing to copy.
    writeFile(pathOf("data.db"), "not a database");
    db.open(pathOf("data.db"));
    const QString target = pathOf("backup.db");
    writeFile(target, "previous backup");

    QString error;
    EXPECT_FALSE(WriteBackup(db, target, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(target), "previous backup");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"backup.db", "data.db"}));

    EXPECT_FALSE(WriteBackup(db, pathOf("no/such/folder/backup.db"), &error));
    EXPECT_FALSE(QFileInfo::exists(pathOf("no")));
}

TEST_F(StoreTest, RecognisesDatabaseFilesWithoutChangingThem)
{
    QString rows = QStringLiteral("CREATE TABLE t (x TEXT);");
    for (int i = 0; i < 200; ++i)
        rows += QStringLiteral("insert into t values ('%1');").arg(QString(300, QLatin1Char('a' + i % 26)));
    createDatabase(pathOf("real.db"), rows);
    const QByteArray real = readFile(pathOf("real.db"));
    ASSERT_GT(real.size(), 8 * 4096);
    writeFile(pathOf("truncated.db"), real.left(real.size() / 2));
    writeFile(pathOf("text.db"), "Barcode;Product;Price;Stock\r\n");
    writeFile(pathOf("zero.db"), QByteArray());
    writeFile(pathOf("header-only.db"), QByteArray("SQLite format 3\0", 16));

    struct Case
    {
        const char* name;
        bool expected;
    };
    for (const Case& c : {Case{"real.db", true}, Case{"truncated.db", false}, Case{"text.db", false},
                          Case{"zero.db", false}, Case{"header-only.db", false}, Case{"missing.db", false}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSqliteDatabaseFile(pathOf(c.name)), c.expected);
    }
    EXPECT_EQ(readFile(pathOf("real.db")), real);
    EXPECT_FALSE(QFileInfo::exists(pathOf("missing.db")));
}

TEST_F(StoreTest, TheDataFileIsCopiedFromTheTemplateOnlyWhenMissing)
{
    createDatabase(pathOf("empty.db"), kProducts);
    const QByteArray empty = readFile(pathOf("empty.db"));
    const QString dataFile = pathOf("data.db");

    EXPECT_FALSE(CreateDataFileFromTemplate(dataFile, pathOf("no-template.db")));
    EXPECT_FALSE(QFileInfo::exists(dataFile));

    EXPECT_TRUE(CreateDataFileFromTemplate(dataFile, pathOf("empty.db")));
    EXPECT_EQ(readFile(dataFile), empty);

    writeFile(dataFile, "the user's data");
    EXPECT_FALSE(CreateDataFileFromTemplate(dataFile, pathOf("empty.db")));
    EXPECT_EQ(readFile(dataFile), "the user's data");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"data.db", "empty.db"}));
}

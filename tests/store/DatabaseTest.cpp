#include "StoreFixture.h"

#include "store/Transaction.h"

#include <QFileInfo>

namespace {

const QString kProducts = QStringLiteral(
    "CREATE TABLE urunler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, fiyat NUMERIC,"
    " stok INTEGER DEFAULT 0);");

qint64 Count(Database& db, const QString& table)
{
    return db.Query(QStringLiteral("SELECT count(*) AS n FROM ") + table + QLatin1Char(';')).value(0, "n").asInteger();
}

} // namespace

TEST_F(StoreTest, OpeningAMissingFileFailsWithoutCreatingItAndLaterStatementsRetry)
{
    const QString path = pathOf("data.db");
    EXPECT_FALSE(db.open(path));
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(reported, QStringList{"unable to open database file"});
    EXPECT_FALSE(QFileInfo::exists(path));

    // Each later statement tries again and reports its own failure.
    const QueryResult rows = db.Query("SELECT 1;");
    EXPECT_FALSE(rows.ok);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(db.ExecuteDirect("DELETE FROM urunler;"));
    EXPECT_FALSE(db.prepare("SELECT 1;").isValid());
    EXPECT_EQ(reported.size(), 4);
    EXPECT_EQ(reported.last(), "unable to open database file");
    EXPECT_FALSE(QFileInfo::exists(path));

    // Once the file is there, the next statement opens it.
    createDatabase(path, kProducts);
    EXPECT_TRUE(db.Query("SELECT 1 AS one;").ok);
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(reported.size(), 4);
}

TEST_F(StoreTest, ATextFileAsDatabaseFailsEveryStatementAndStaysUntouched)
{
    const QString path = pathOf("data.db");
    const QByteArray text("Barcode;Product;Price;Stock\r\n8690000000017;Milk;2.5;10\r\n");
    writeFile(path, text);
    db.open(path); // the engine may only notice on the first statement

    db.Migrate();
    const QueryResult rows = db.Query("SELECT * FROM urunler;");
    EXPECT_FALSE(rows.ok);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod, urunadi) values (?, ?);", {"1", "Milk"}));
    EXPECT_FALSE(db.BeginTransaction());
    EXPECT_FALSE(db.Commit());

    // Three table checks and three ALTER statements, then the four statements above; the commit finds no
    // transaction, since none could begin.
    ASSERT_EQ(reported.size(), 10);
    for (qsizetype i = 0; i < 9; ++i)
        EXPECT_EQ(reported[i], "file is not a database");
    EXPECT_EQ(reported.last(), "cannot commit - no transaction is active");
    EXPECT_EQ(readFile(path), text);
}

TEST_F(StoreTest, ValuesReadAsTextIntegerAndNumber)
{
    openNew("data.db", "CREATE TABLE t (n NUMERIC);"
                       "INSERT INTO t VALUES ('2.5'), ('3'), ('18.00'), ('abc');");
    struct Case
    {
        const char* expression;
        QString text;
        qint64 integer;
        double number;
    };
    const Case cases[] = {
        {"42", "42", 42, 42.0},
        {"-7", "-7", -7, -7.0},
        {"2.5", "2.5", 2, 2.5},
        {"18.0", "18.0", 18, 18.0},
        {"1e20", "1.0e+20", std::numeric_limits<qint64>::max(), 1e20},
        {"NULL", "", 0, 0.0},
        {"'Milk'", "Milk", 0, 0.0},
        {"'2.5'", "2.5", 0, 2.5},
        {"' 12 '", " 12 ", 12, 12.0},
        {"''", "", 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        const QString sql = QStringLiteral("SELECT %1 AS v, CAST(%1 AS TEXT) AS engine;").arg(c.expression);
        const QueryResult r = db.Query(sql);
        ASSERT_EQ(r.size(), 1u);
        const DbValue& v = r.value(0, "v");
        EXPECT_EQ(v.asText(), c.text);
        if (!v.isNull()) {
            EXPECT_EQ(v.asText(), r.text(0, "engine"));
        }
        EXPECT_EQ(v.asInteger(), c.integer);
        EXPECT_DOUBLE_EQ(v.asDouble(), c.number);
    }

    // Prices written as text come back the way the column stored them.
    const QueryResult stored = db.Query("SELECT n FROM t ORDER BY rowid;");
    QStringList texts;
    for (size_t i = 0; i < stored.size(); ++i)
        texts << stored.text(i, "n");
    EXPECT_EQ(texts, (QStringList{"2.5", "3", "18", "abc"}));

    // A real made outside the engine reads the same way.
    EXPECT_EQ(DbValue(QVariant(18.0)).asText(), "18.0");
    EXPECT_EQ(DbValue(QVariant(2.5)).asText(), "2.5");
    EXPECT_EQ(DbValue(QVariant(1e20)).asText(), "1.0e+20");
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
}

TEST_F(StoreTest, BoundValuesKeepTheirKind)
{
    openNew("data.db", "CREATE TABLE t (x);");
    struct Case
    {
        QVariant value;
        const char* type;
    };
    const Case cases[] = {
        {QVariant(QStringLiteral("12")), "text"},
        {QVariant(7), "integer"},
        {QVariant(qint64(1) << 40), "integer"},
        {QVariant(true), "integer"},
        {QVariant(2.5), "real"},
        {QVariant(), "null"},
        {QVariant(QByteArray("\x00\x01", 2)), "blob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(db.Query("SELECT typeof(?) AS t;", {c.value}).text(0, "t"), c.type);
    }
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreTest, ANameWithASingleQuoteIsStoredAndFoundAgain)
{
    openNew("data.db", kProducts);
    const QString name = QStringLiteral("O'Neil's Irish Tea 250g");
    ASSERT_TRUE(db.ExecuteDirect("insert into urunler (barkod, urunadi, fiyat, stok) values (?, ?, ?, ?);",
                                 {"5012345678900", name, "3.5", "4"}));
    const QueryResult found = db.Query("SELECT * FROM urunler where urunadi=?;", {name});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.text(0, "barkod"), "5012345678900");
    EXPECT_EQ(found.text(0, "urunadi"), name);
    EXPECT_DOUBLE_EQ(found.value(0, "fiyat").asDouble(), 3.5);
    EXPECT_EQ(found.value(0, "STOK").asInteger(), 4); // column names are not case-sensitive
    EXPECT_TRUE(found.value(0, "nosuchcolumn").isNull());
    EXPECT_EQ(Count(db, "urunler"), 1);
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreTest, WrongBindingsAreRefusedBeforeAnythingRuns)
{
    openNew("data.db", kProducts);
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod, urunadi) values (?, ?);", {"1"}));
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod) values (?); DELETE FROM urunler;", {"1"}));
    EXPECT_EQ(reported.size(), 2);
    EXPECT_EQ(Count(db, "urunler"), 0);
}

TEST_F(StoreTest, SeveralStatementsRunInOrderUpToTheFirstFailure)
{
    openNew("data.db", kProducts);
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod) values ('1');"
                                  "insert into nosuchtable values (1);"
                                  "insert into urunler (barkod) values ('2');"));
    EXPECT_EQ(reported, QStringList{"no such table: nosuchtable"});
    EXPECT_EQ(Count(db, "urunler"), 1);
}

TEST_F(StoreTest, AFailingStatementInsideATransactionIsReportedAndTheRestCommitted)
{
    openNew("data.db", kProducts);
    ASSERT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"1"}));
    EXPECT_FALSE(db.ExecuteDirect("update nosuchtable set x=1;"));
    EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"2"}));
    EXPECT_TRUE(db.Commit());
    EXPECT_EQ(reported, QStringList{"no such table: nosuchtable"});

    Database other;
    ASSERT_TRUE(other.open(pathOf("data.db")));
    EXPECT_EQ(Count(other, "urunler"), 2);

    // A commit without a transaction is reported, and the next transaction starts normally.
    EXPECT_FALSE(db.Commit());
    EXPECT_EQ(reported.size(), 2);
    EXPECT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.Commit());
}

TEST_F(StoreTest, ATransactionTheEngineRollsBackItselfStoresNothingMoreOfTheSeries)
{
    // The engine rolls the whole transaction back itself: the statements after the failure must not be stored
    // one by one outside it, and the failure is shown once.
    openNew("data.db", kProducts + "CREATE TRIGGER refuse BEFORE INSERT ON urunler WHEN new.barkod = 'bad' "
                                   "BEGIN SELECT RAISE(ROLLBACK, 'refused'); END;");
    ASSERT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"1"}));
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"bad"}));
    EXPECT_TRUE(db.transactionFailed());
    EXPECT_FALSE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"2"}));
    EXPECT_FALSE(db.Commit());
    EXPECT_EQ(reported, QStringList{"refused"});
    EXPECT_EQ(Count(db, "urunler"), 0);

    ASSERT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"3"}));
    EXPECT_TRUE(db.Commit());
    EXPECT_EQ(Count(db, "urunler"), 1);
}

TEST_F(StoreTest, PreparedStatementWalksRowsAndReportsOnlyPreparation)
{
    openNew("data.db", kProducts + "insert into urunler (barkod, fiyat) values ('a', '1.5'), ('b', NULL);");
    EXPECT_FALSE(db.prepare("SELEKT 1;").isValid());
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains("syntax error"));

    Statement stmt = db.prepare("SELECT barkod, fiyat FROM urunler where barkod >= ? order by barkod;");
    ASSERT_TRUE(stmt.isValid());
    stmt.bindAll({"a"});
    QStringList seen;
    while (stmt.next())
        seen << stmt.text(0) + "=" + stmt.text(1);
    EXPECT_EQ(seen, (QStringList{"a=1.5", "b="}));
    EXPECT_TRUE(stmt.error().isEmpty());
    EXPECT_EQ(stmt.columnName(1), "fiyat");
    EXPECT_EQ(reported.size(), 1);
}

TEST_F(StoreTest, AFailedCommitIsReportedAndDoesNotLeaveTheTransactionOpen)
{
    // A deferred foreign key makes the commit itself fail, with the transaction still open in the engine.
    openNew("data.db", "CREATE TABLE parent (id INTEGER PRIMARY KEY);"
                       "CREATE TABLE child (p INTEGER REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);");
    ASSERT_TRUE(db.ExecuteDirect("PRAGMA foreign_keys = ON;"));
    ASSERT_TRUE(db.BeginTransaction());
    ASSERT_TRUE(db.ExecuteDirect("insert into child values (?);", {5}));
    EXPECT_FALSE(db.Commit());
    EXPECT_EQ(reported, QStringList{"FOREIGN KEY constraint failed"});

    // Later work is not swallowed by a transaction that never ends.
    EXPECT_TRUE(db.BeginTransaction());
    EXPECT_TRUE(db.ExecuteDirect("insert into parent values (?);", {1}));
    EXPECT_TRUE(db.Commit());
    EXPECT_EQ(Count(db, "child"), 0);
    EXPECT_EQ(Count(db, "parent"), 1);
    EXPECT_EQ(reported.size(), 1);
}

TEST_F(StoreTest, ATransactionKeepsItsWritesOnlyWhenCommitted)
{
    openNew("data.db", kProducts);
    {
        Transaction transaction(db);
        ASSERT_TRUE(transaction.active());
        EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"gone"}));
    } // left without a commit: rolled back
    {
        Transaction transaction(db);
        EXPECT_TRUE(db.ExecuteDirect("insert into urunler (barkod) values (?);", {"kept"}));
        EXPECT_TRUE(transaction.commit());
        EXPECT_FALSE(transaction.active());
        EXPECT_FALSE(transaction.commit()); // once only
    }
    Database other;
    ASSERT_TRUE(other.open(pathOf("data.db")));
    const QueryResult rows = other.Query("SELECT barkod FROM urunler;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.text(0, "barkod"), QStringLiteral("kept"));

    // A transaction that cannot begin is not active and writes nothing on commit.
    Database none;
    Transaction refused(none);
    EXPECT_FALSE(refused.active());
    EXPECT_FALSE(refused.commit());
}

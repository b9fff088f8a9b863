#include "store/sqlite/DataFileBackup.h"
#include "store/sqlite/SqliteDatabaseFile.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <ostream>

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace {

// The tables as the first versions of the program created them: no stok, odemetarihi or fisno.
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
    "insert into urunler (barkod, urunadi, fiyat) values ('111','Old Tea','3.5');"
    "insert into odemeler (barkod, urunadi, adet, fiyat) values ('111','Old Tea',2,'3.5');");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList products(Database& db)
{
    const QueryResult r = db.Query(QStringLiteral("SELECT barkod, urunadi FROM urunler order by id;"));
    QStringList rows;
    for (size_t i = 0; i < r.size(); ++i)
        rows << r.text(i, "barkod") + QLatin1Char('|') + r.text(i, "urunadi");
    return rows;
}

bool hasColumn(Database& db, const QString& table, const QString& column)
{
    const QueryResult r = db.Query(QStringLiteral("PRAGMA table_info(%1);").arg(table));
    for (size_t i = 0; i < r.size(); ++i)
        if (r.text(i, "name") == column)
            return true;
    return false;
}

} // namespace

class BackupRestoreTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        start();
        ASSERT_TRUE(form->context().SQLConnection1().isOpen());
        ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(
            QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) values (?,?,?,?),(?,?,?,?);"),
            {"8690000000017", "Milk", "2.5", 10, "8690000000024", "O'Neil's Bread", "1.25", 3}));
        dialogs.clear();
    }

    QString dataDb() const { return dataFile(QStringLiteral("data.db")); }
    Database& db() { return form->context().SQLConnection1(); }

    // An older database made outside the program.
    QString makeOldDatabase(const QString& name)
    {
        const QString path = dataFile(name);
        writeBytes(path, QByteArray()); // SQLite takes an empty file for an empty database
        Database maker;
        EXPECT_TRUE(maker.open(path));
        EXPECT_TRUE(maker.ExecuteDirect(kOldTables));
        return path;
    }

    void backupTo(const QString& path)
    {
        dialogs.fileAnswers.push_back(path);
        form->action(QStringLiteral("Backup1"))->trigger();
    }
    void restoreFrom(const QString& path, Dialogs::Button answer)
    {
        dialogs.fileAnswers.push_back(path);
        dialogs.messageAnswers.push_back(answer);
        form->action(QStringLiteral("Restore1"))->trigger();
    }

    const QStringList kRows{QStringLiteral("8690000000017|Milk"), QStringLiteral("8690000000024|O'Neil's Bread")};
};

TEST_F(BackupRestoreTest, BackupWritesACopyThatOpensWithTheSameRows)
{
    const QString target = dataFile(QStringLiteral("backups/monday.db"));
    ASSERT_TRUE(QDir().mkpath(dataFile(QStringLiteral("backups"))));
    writeBytes(target, "an older backup"); // the dialog asked and the user agreed to replace it
    backupTo(target);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    const Dialogs::FileRequest& request = dialogs.shown.front().file;
    EXPECT_EQ(dialogs.shown.front().kind, QStringLiteral("save"));
    EXPECT_EQ(request.filter, QStringLiteral("DB|*.db"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("db"));
    EXPECT_EQ(request.folder, QDir::homePath());
    EXPECT_TRUE(request.confirmOverwrite);

    EXPECT_TRUE(IsSqliteDatabaseFile(target));
    Database copy;
    ASSERT_TRUE(copy.open(target));
    EXPECT_EQ(products(copy), kRows);
    // The connection stays open and goes on working.
    EXPECT_TRUE(db().isOpen());
    EXPECT_EQ(products(db()), kRows);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(BackupRestoreTest, BackupThenRestoreBringsTheSavedRowsBack)
{
    const QString target = dataFile(QStringLiteral("saved.db"));
    backupTo(target);
    ASSERT_TRUE(db().ExecuteDirect(QStringLiteral("delete from urunler;")));
    ASSERT_TRUE(products(db()).isEmpty());

    dialogs.clear();
    restoreFrom(target, Dialogs::No);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs.shown[0].file.filter, QStringLiteral("DB|*.db"));
    EXPECT_EQ(dialogs.shown[0].file.defaultSuffix, QStringLiteral("db"));
    EXPECT_EQ(dialogs.shown[0].file.folder, QDir::homePath());
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Restart Application?"));
    EXPECT_EQ(dialogs.shown[1].caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(dialogs.shown[1].buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_EQ(products(db()), kRows);
    EXPECT_EQ(readBytes(target), readBytes(dataDb()));
    EXPECT_EQ(env.quitRequests, 0);
}

TEST_F(BackupRestoreTest, RestoringAnOlderDatabaseAndDecliningTheRestartMigratesIt)
{
    const QString old = makeOldDatabase(QStringLiteral("old.db"));
    restoreFrom(old, Dialogs::No);

    EXPECT_TRUE(db().isOpen());
    EXPECT_EQ(products(db()), QStringList{"111|Old Tea"});
    EXPECT_TRUE(hasColumn(db(), "urunler", "stok"));
    EXPECT_TRUE(hasColumn(db(), "veresiyeler", "odemetarihi"));
    EXPECT_TRUE(hasColumn(db(), "odemeler", "fisno"));
    EXPECT_EQ(db().Query(QStringLiteral("SELECT fisno FROM odemeler;")).text(0, "fisno"), QStringLiteral("0"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Restart Application?"});
    EXPECT_TRUE(env.startedPrograms.isEmpty());
}

TEST_F(BackupRestoreTest, RestoreAnsweredYesRestartsOnTheRestoredFile)
{
    const QString old = makeOldDatabase(QStringLiteral("old.db"));
    const QByteArray oldBytes = readBytes(old);
    restoreFrom(old, Dialogs::Yes);

    EXPECT_EQ(readBytes(dataDb()), oldBytes);
    ASSERT_EQ(env.startedPrograms.size(), 1);
    EXPECT_TRUE(env.startedPrograms.first().endsWith(QStringLiteral("start.sh")));
    EXPECT_EQ(env.quitRequests, 1);
    // The restarted program opens and migrates the restored file.
    Database restarted;
    ASSERT_TRUE(ReopenDataFile(restarted, dataDb()));
    EXPECT_TRUE(hasColumn(restarted, "urunler", "stok"));
    EXPECT_EQ(products(restarted), QStringList{"111|Old Tea"});
}

TEST_F(BackupRestoreTest, AFileThatIsNotADatabaseIsRefusedAndTheDataStay)
{
    const QByteArray before = readBytes(dataDb());
    const QString notes = dataFile(QStringLiteral("notes.db"));
    for (const QByteArray& content : {QByteArray("Milk 2.50\r\nBread 1.25\r\n"), QByteArray(),
                                      QByteArray("SQLite format 3\0 but nothing after it", 38)}) {
        writeBytes(notes, content);
        dialogs.clear();
        dialogs.fileAnswers.push_back(notes);
        form->action(QStringLiteral("Restore1"))->trigger();

        ASSERT_EQ(dialogs.messageTexts(),
                  QStringList{"The selected file is not a database backup. Nothing was restored."});
        EXPECT_EQ(dialogs.lastMessage()->caption, QStringLiteral("ERROR"));
        EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
        EXPECT_EQ(readBytes(dataDb()), before);
        EXPECT_TRUE(db().isOpen());
        EXPECT_EQ(products(db()), kRows);
        EXPECT_EQ(env.quitRequests, 0);
    }
}

TEST_F(BackupRestoreTest, CancelledDialogsWriteNothing)
{
    const QStringList filesBefore = QDir(programFolder()).entryList(QDir::Files);
    const QByteArray before = readBytes(dataDb());
    form->action(QStringLiteral("Backup1"))->trigger();
    form->action(QStringLiteral("Restore1"))->trigger();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.shown[1].kind, QStringLiteral("open"));
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), filesBefore);
    EXPECT_EQ(readBytes(dataDb()), before);
    EXPECT_TRUE(db().isOpen());
    EXPECT_EQ(env.quitRequests, 0);
}

TEST_F(BackupRestoreTest, FailuresAreReportedAndLeaveTheDataAsTheyWere)
{
    backupTo(dataFile(QStringLiteral("no/such/folder/backup.db")));
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts().first().startsWith(QStringLiteral("The backup could not be written.")));
    EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);

    // A restore whose copy fails: nothing replaced, no restart question, the connection back on the old file.
    const QString good = makeOldDatabase(QStringLiteral("good.db"));
    Database other;
    QString dataElsewhere = dataFile(QStringLiteral("missing/data.db"));
    const RestoreResult failed = RestoreDataFile(other, good, dataElsewhere);
    EXPECT_EQ(failed.outcome, RestoreResult::CopyFailed);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_FALSE(QFile::exists(dataElsewhere));

    // Restoring the data file onto itself changes nothing and keeps the rows.
    dialogs.clear();
    restoreFrom(dataDb(), Dialogs::No);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Restart Application?"});
    EXPECT_TRUE(db().isOpen());
    EXPECT_EQ(products(db()), kRows);
}

TEST_F(BackupRestoreTest, AJournalLeftBesideTheOldFileIsNotPlayedIntoTheRestoredOne)
{
    // A journal as a crash in the middle of a large write leaves it: the original pages of the current file.
    ASSERT_TRUE(db().ExecuteDirect(QStringLiteral("PRAGMA cache_size=2;")));
    ASSERT_TRUE(db().BeginTransaction());
    ASSERT_TRUE(db().ExecuteDirect(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000)"
        " INSERT INTO urunler (barkod, urunadi) SELECT i, printf('%.300c', 'x') FROM n;"
        " UPDATE urunler SET urunadi = 'changed';")));
    const QByteArray journal = readBytes(dataDb() + QStringLiteral("-journal"));
    ASSERT_GT(journal.size(), 4096);
    ASSERT_TRUE(db().ExecuteDirect(QStringLiteral("ROLLBACK;")));

    const QString old = makeOldDatabase(QStringLiteral("old.db"));
    dialogs.fileAnswers.push_back(old);
    dialogs.messageAnswers.push_back(Dialogs::No);
    // The journal appears between the check and the copy, as if the old file had been left that way.
    writeBytes(dataDb() + QStringLiteral("-journal"), journal);
    form->action(QStringLiteral("Restore1"))->trigger();

    EXPECT_EQ(products(db()), QStringList{"111|Old Tea"});
    EXPECT_TRUE(IsSqliteDatabaseFile(dataDb()));
}

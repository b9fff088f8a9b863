#include "pos/SaleFixture.h"
#include "store/DatabaseEngine.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QPushButton>
#include <QStringEncoder>
#include <QTreeView>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

// Files and folders a user could hand the program that other tests do not cover ye For each: a clear message
// or the usual behaviour, no crash, and nothing already stored los

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A file the program may read but not write. Permission bits do not stop root, so for root the file is marked
// immutable (ext4, tmpfs, ...); the mark is taken off again when the guard ends.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString& path) : m_path(QFile::encodeName(path))
    {
        ::chmod(m_path.constData(), 0444);
        if (::access(m_path.constData(), W_OK) != 0) {
            m_readOnly = true;
            return;
        }
        const int fd = ::open(m_path.constData(), O_RDONLY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
        m_readOnly = m_immutable;
    }
    ~ReadOnlyFile()
    {
        if (m_immutable) {
            const int fd = ::open(m_path.constData(), O_RDONLY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
        ::chmod(m_path.constData(), 0644);
    }
    bool readOnly() const { return m_readOnly; }

private:
    QByteArray m_path;
    bool m_immutable = false;
    bool m_readOnly = false;
};

// A disk that is full beyond a size: no file of this process may grow past it while the guard lives (SIGXFSZ is
// ignored, so the write fails with EFBIG as on a full disk instead of ending the process).
class DiskFullBeyond
{
public:
    explicit DiskFullBeyond(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~DiskFullBeyond()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// A small tmpfs mounted on a folder and filled up, with one file written before it filled. Mounting needs
// privileges (root); isFull() is false when the mount was refused.
class FullFileSystem
{
public:
    FullFileSystem(const QString& folder, const QString& file, const QByteArray& bytes)
        : m_folder(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        if (::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k") != 0)
            return;
        m_mounted = true;
        writeBytes(file, bytes);
        QFile filler(folder + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, '\0');
        while (filler.write(block) > 0) {
        }
        m_full = true;
    }
    ~FullFileSystem()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool isFull() const { return m_full; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
    bool m_full = false;
};

class HostileInputsTest : public SaleFixture
{
protected:
    QString receiptFolder() const { return programFolder() + QStringLiteral("receipts"); }
    QString settingsPath() const { return dataFile(QStringLiteral("settings.ini")); }

    // A shop that has been used: product P1 (2.50, stock 5) and one earlier payment under receipt 11; the next
    // receipt is 12 and receipts are saved. The program is stopped again afterwards.
    void shopInUse(const QStringList& moreSettings = {})
    {
        QDir().mkpath(receiptFolder());
        // The first of a repeated key is the one read: moreSettings can replace the receipt folder.
        writeSettings(moreSettings
                      + QStringList{QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()});
        start();
        addProduct(QStringLiteral("P1"), QStringLiteral("PEN"), 2.5, 5);
        ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(QStringLiteral(
            "insert into odemeler (fisno,barkod,urunadi,adet,fiyat) values (11,'P1','PEN',1,2.5)")));
        form.reset();
        dialogs.clear();
    }
    void sellP1()
    {
        scan(QStringLiteral("P1"));
        dialogs.messageAnswers = {Dialogs::Yes};
        if (form->sellByCashButton()->isEnabled())
            form->sellByCashButton()->click();
    }
    QStringList payments() { return query(QStringLiteral("SELECT fisno, barkod, adet FROM odemeler ORDER BY id")); }
};

} // namespace

// Files the program reads at start. The product and the earlier payment survive every one of them; a data.db
// that cannot be used is reported ("Exception raised with message: ...") and left exactly as it was.
TEST_F(HostileInputsTest, FilesReadAtStart)
{
    struct Case
    {
        const char* name;
        // Puts the file in place while the program is stopped.
        std::function<bool()> handOver;
        bool readOnlyData;       // data.db is made read-only around the run
        bool saleStored;         // the database works: the sale is stored as receipt 12
        QString databaseMessage; // the engine's message shown for the database, or empty when none is shown
        std::function<void()> alsoCheck;
    };
    const QByteArray oneMegabyte(1024 * 1024, 'x');
    // The six placeholders in turn, any letter case, ten to a line.
    QByteArray manyPlaceholders;
    const char* const placeholders[] = {"[RECEIPTNO]", "[list]", "[Total]", "[DATETIME]", "[date]", "[TIME]"};
    for (int i = 0; i < 10000; ++i)
        manyPlaceholders += QByteArray(placeholders[i % 6]) + (i % 10 == 9 ? "\r\n" : " ");
    const Case cases[] = {
        {"data.db of zero bytes",
         [this] {
             writeBytes(dataFile(QStringLiteral("data.db")), QByteArray());
             return true;
         },
         false, false, QStringLiteral("no such table: urunler"), nullptr},
        {"data.db cut short",
         [this] {
             QFile file(dataFile(QStringLiteral("data.db")));
             return file.resize(file.size() / 2);
         },
         false, false, QStringLiteral("database disk image is malformed"), nullptr},
        {"data.db read-only",
         [] { return true; },
         true, false, QStringLiteral("attempt to write a readonly database"),
         [this] {
             // Refused as a whole, not line by line: one message, no empty receipt, the sale stays on screen.
             EXPECT_EQ(dialogs.messageTexts(),
                       (QStringList{"Confirm?", "Exception raised with message: attempt to write a readonly database"}));
             EXPECT_EQ(listRows().size(), 1);
         }},
        {"language file with a 1 MB line",
         [this, &oneMegabyte] {
             writeBytes(programFolder() + QStringLiteral("Languages/Big.lang.txt"),
                        "{" + oneMegabyte + "}" + oneMegabyte + "\r\n{Other}" + oneMegabyte
                            + "\r\n{SELL BY CASH}KASSE\r\n");
             QFile settings(settingsPath());
             settings.open(QIODevice::Append);
             settings.write("LanguageFile=Big.lang.txt\r\n");
             return true;
         },
         false, true, QString(),
         [this] { EXPECT_EQ(form->sellByCashButton()->text(), QStringLiteral("KASSE")); }},
        {"template with 10,000 placeholders",
         [this, &manyPlaceholders] {
             writeBytes(dataFile(QStringLiteral("PrintTemplate.txt")), manyPlaceholders);
             return true;
         },
         false, true, QString(),
         [this] {
             const QByteArray receipt = fileBytes(receiptFolder() + QStringLiteral("/12.txt"));
             EXPECT_FALSE(receipt.contains('[')) << "every placeholder is replaced";
             EXPECT_EQ(receipt.count("PEN (2.50) * 1"), 1667);
             EXPECT_EQ(receipt.count("$ 2.50"), 1667);
             EXPECT_EQ(receipt.count("14:05:09"), 3333);
         }},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dialogs.clear();
        QDir(programFolder()).removeRecursively();
        QDir().mkpath(programFolder());
        SetUp();
        shopInUse();
        if (!c.handOver())
            continue;
        const QByteArray handedOver = fileBytes(dataFile(QStringLiteral("data.db")));
        std::unique_ptr<ReadOnlyFile> readOnly;
        if (c.readOnlyData) {
            readOnly = std::make_unique<ReadOnlyFile>(dataFile(QStringLiteral("data.db")));
            if (!readOnly->readOnly()) {
                std::printf("[ SKIPPED  ] %s: this file system cannot make a file read-only for this user\n", c.name);
                continue;
            }
        }

        start();
        sellP1();
        QStringList databaseMessages;
        for (const QString& text : dialogs.messageTexts()) {
            if (text.startsWith(QStringLiteral("Exception raised with message: ")))
                databaseMessages << text.mid(31);
        }
        if (c.databaseMessage.isEmpty())
            EXPECT_TRUE(databaseMessages.isEmpty()) << databaseMessages.join(QLatin1Char('\n')).toStdString();
        else
            EXPECT_TRUE(databaseMessages.contains(c.databaseMessage))
                << databaseMessages.join(QLatin1Char('\n')).toStdString();

        if (c.saleStored) {
            EXPECT_EQ(payments(), (QStringList{"11|P1|1", "12|P1|1"}));
            EXPECT_EQ(stockOf(QStringLiteral("P1")), 4);
            EXPECT_TRUE(listRows().isEmpty());
        } else {
            EXPECT_EQ(form->context().receiptNumbers().next(), 12);
            EXPECT_FALSE(QFile::exists(receiptFolder() + QStringLiteral("/12.txt")));
        }
        if (c.alsoCheck)
            c.alsoCheck();
        form.reset();
        readOnly.reset();
        if (!c.saleStored) {
            EXPECT_EQ(fileBytes(dataFile(QStringLiteral("data.db"))), handedOver) << "the file is left as it was";
        }
        if (!c.saleStored && !c.readOnlyData)
            continue;
        // Nothing stored before is lost: the earlier payment is there when the file opens again.
        start();
        EXPECT_TRUE(payments().contains(QStringLiteral("11|P1|1")));
    }
}

// Files the program writes where the write cannot be done: the user is told (the settings file is simply not
// written), the file that was there keeps its bytes, no half-written or temporary file is left beside it, and a
// sale is stored all the same. A full disk is either a small full tmpfs (mounted when this user may mount, as
// root may) or a file size limit on this process (RLIMIT_FSIZE), which hits a write the same way.
TEST_F(HostileInputsTest, WritesThatCannotBeDone)
{
    enum class Action { Sell, ExportProducts, ToggleAskPrint, Restore };
    struct Case
    {
        const char* name;
        QStringList settings;
        std::function<bool()> prepare; // with the program started, before the action; false skips the row
        QString survivor;              // a file that must keep its bytes
        rlim_t diskFullBeyond;         // 0: no limit
        Action action;
        QString message; // the message shown, or empty when none is
    };
    const QString plainFile = programFolder() + QStringLiteral("note.txt");
    const QString receipt12 = receiptFolder() + QStringLiteral("/12.txt");
    const QString fullFolder = programFolder() + QStringLiteral("full");
    const QString fullReceipt12 = fullFolder + QStringLiteral("/12.txt");
    const QString exported = programFolder() + QStringLiteral("export/products.csv");
    const QString backup = programFolder() + QStringLiteral("export/backup.db");
    const QByteArray twoMegabytes(2 * 1024 * 1024, 'x');
    constexpr rlim_t oneMegabyte = 1024 * 1024;
    std::unique_ptr<FullFileSystem> fullDisk;
    const Case cases[] = {
        {"receipt folder under a regular file",
         {QStringLiteral("ReceiptFolder=") + plainFile + QStringLiteral("/receipts")}, nullptr, plainFile, 0,
         Action::Sell, QStringLiteral("Cannot create file\r\r") + plainFile + QStringLiteral("/receipts/12.txt")},
        {"receipt folder on a full disk",
         {QStringLiteral("ReceiptFolder=") + fullFolder},
         [&] {
             fullDisk = std::make_unique<FullFileSystem>(fullFolder, fullReceipt12, "an earlier receipt 12");
             return fullDisk->isFull();
         },
         fullReceipt12, 0, Action::Sell, QStringLiteral("Cannot create file\r\r") + fullReceipt12},
        {"receipt of 2 MB on a full disk", {},
         [&] {
             form->context().receipts.ReceiptTemplate = QStringList{QStringLiteral("[LIST]"),
                                                                    QString::fromLatin1(twoMegabytes)};
             return true;
         },
         receipt12, oneMegabyte, Action::Sell, QStringLiteral("Cannot create file\r\r") + receipt12},
        {"settings file on a full disk", {QStringLiteral("Note=") + QString(1000, QLatin1Char('n'))}, nullptr,
         settingsPath(), 512, Action::ToggleAskPrint, QString()},
        {"products export on a full disk", {},
         [&] {
             for (int i = 0; i < 300; ++i)
                 addProduct(QStringLiteral("B%1").arg(i), QStringLiteral("Product %1").arg(i), 1.5, i);
             return true;
         },
         exported, 4096, Action::ExportProducts, QStringLiteral("File too large")},
        {"restore of a backup onto a full disk", {},
         [&] {
             // A backup of 1 MB and a few pages: the disk fills after the first megabyte is copied.
             const QString dataDb = form->context().SQLConnection1().path();
             if (!EngineFor(dataDb).writeBackup(dataDb, backup, nullptr, {}))
                 return false;
             Database copy;
             copy.open(backup);
             copy.ExecuteDirect(QStringLiteral("insert into urunler (barkod, urunadi) values ('big', zeroblob(1000000))"));
             auto size = [&copy] {
                 const QueryResult r = copy.Query(QStringLiteral("select page_count * page_size from "
                                                                 "pragma_page_count, pragma_page_size"));
                 return r.rows[0][0].asInteger();
             };
             while (size() % oneMegabyte < 8192 || size() < qint64(oneMegabyte))
                 copy.ExecuteDirect(QStringLiteral("insert into urunler (barkod) values (zeroblob(3000))"));
             return true;
         },
         dataFile(QStringLiteral("data.db")), oneMegabyte + 4096, Action::Restore,
         QStringLiteral("The backup could not be restored. The current data are unchanged.\n\nFile too large")},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        fullDisk.reset();
        dialogs.clear();
        QDir(programFolder()).removeRecursively();
        QDir().mkpath(programFolder());
        SetUp();
        shopInUse(c.settings);
        writeBytes(plainFile, "a note");
        QDir().mkpath(programFolder() + QStringLiteral("export"));
        writeBytes(exported, "previous export");
        writeBytes(receipt12, "an earlier receipt 12");
        start();
        if (c.prepare && !c.prepare()) {
            std::printf("[ SKIPPED  ] %s: this user cannot mount a small file system\n", c.name);
            continue;
        }
        const QByteArray before = fileBytes(c.survivor);
        const QDir folder = QFileInfo(c.survivor).dir();
        const QStringList filesBefore = folder.entryList(QDir::AllEntries | QDir::Hidden);
        dialogs.clear();
        {
            std::unique_ptr<DiskFullBeyond> diskFull;
            if (c.diskFullBeyond)
                diskFull = std::make_unique<DiskFullBeyond>(c.diskFullBeyond);
            switch (c.action) {
            case Action::Sell:
                sellP1();
                break;
            case Action::ExportProducts:
                dialogs.fileAnswers.push_back(exported);
                form->action(QStringLiteral("ExportProducts1"))->trigger();
                break;
            case Action::ToggleAskPrint:
                form->action(QStringLiteral("AskPrint1"))->trigger();
                break;
            case Action::Restore:
                dialogs.fileAnswers.push_back(backup);
                form->action(QStringLiteral("Restore1"))->trigger();
                break;
            }
        }

        EXPECT_EQ(fileBytes(c.survivor), before);
        EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden), filesBefore) << "no temporary file is left";
        const QStringList shown = dialogs.messageTexts();
        if (c.action == Action::Sell) {
            EXPECT_EQ(shown, c.message.isEmpty() ? QStringList{"Confirm?"} : (QStringList{"Confirm?", c.message}));
            EXPECT_EQ(payments(), (QStringList{"11|P1|1", "12|P1|1"}));
            EXPECT_EQ(form->context().receiptNumbers().next(), 13);
            EXPECT_TRUE(listRows().isEmpty());
        } else if (c.message.isEmpty()) {
            EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
        } else {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_EQ(shown.first(), c.message);
            EXPECT_EQ(dialogs.lastMessage()->icon, Dialogs::Icon::Error);
        }
    }
}

// Product import files (Operations > Import > Products) that the file reading tests do not take through the
// program: every product arrives as written, the message counts them, and the products already stored stay.
TEST_F(HostileInputsTest, ImportFiles)
{
    auto utf16 = [](QStringConverter::Encoding encoding, const QString& text) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        return QByteArray(encoder.encode(text));
    };
    const QString text = QStringLiteral("Barcode;Product;Price;Stock\r\n1;\u00c7ay \U0001F375;2.50;3\r\n");
    QByteArray large = "Barcode;Product;Price;Stock\r\n";
    const QByteArray longName(50 * 1024, 'n');
    for (int i = 0; large.size() < 50 * 1024 * 1024; ++i)
        large += "L" + QByteArray::number(i) + ";" + longName + ";1;1\r\n";
    const struct
    {
        const char* name;
        QByteArray bytes;
        int imported;
        QString barcode; // one of the imported products
        QString product; // its name as stored
    } cases[] = {
        {"UTF-16 LE with a byte-order mark", utf16(QStringConverter::Utf16LE, text), 1, QStringLiteral("1"),
         QStringLiteral("\u00c7ay \U0001F375")},
        {"UTF-16 BE with a byte-order mark", utf16(QStringConverter::Utf16BE, text), 1, QStringLiteral("1"),
         QStringLiteral("\u00c7ay \U0001F375")},
        {"a NUL byte in a name", QByteArray("7;A\0B;1;1\r\n", 11), 1, QStringLiteral("7"),
         QString::fromLatin1("A\0B", 3)},
        {"50 MB", large, int(large.count("\r\n")) - 1, QStringLiteral("L0"), QString::fromLatin1(longName)},
    };

    shopInUse();
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = programFolder() + QStringLiteral("import.csv");
        writeBytes(path, c.bytes);
        form->context().SQLConnection1().ExecuteDirect(QStringLiteral("delete from urunler where barkod<>'P1'"));
        dialogs.clear();
        dialogs.fileAnswers.push_back(path);
        form->action(QStringLiteral("ImportProducts1"))->trigger();

        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Imported: %1 entries").arg(c.imported)});
        const QueryResult found = form->context().SQLConnection1().Query(
            QStringLiteral("SELECT urunadi, (SELECT count(*) FROM urunler) AS n FROM urunler WHERE barkod=?"),
            {c.barcode});
        ASSERT_EQ(found.size(), 1u);
        EXPECT_TRUE(found.text(0, QStringLiteral("urunadi")) == c.product) << "the name as written";
        EXPECT_EQ(found.value(0, QStringLiteral("n")).asInteger(), c.imported + 1);
        EXPECT_EQ(stockOf(QStringLiteral("P1")), 5);
    }
}

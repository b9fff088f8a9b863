#include "pos/SaleFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStringEncoder>
#include <QTreeWidget>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
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
        writeSettings(QStringList{QStringLiteral("ReceiptNumber=12"), QStringLiteral("ReceiptFolder=") + receiptFolder()}
                      + moreSettings);
        start();
        addProduct(QStringLiteral("P1"), QStringLiteral("PEN"), 2.5, 5);
        ASSERT_TRUE(form->SQLConnection1().ExecuteDirect(QStringLiteral(
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
            EXPECT_EQ(form->ReceiptNumber, 12);
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

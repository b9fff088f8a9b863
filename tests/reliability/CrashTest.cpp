#include "CrashCheck.h"
#include "CrashPlan.h"

#include "core/SettingsStore.h"
#include "store/DataFileTemplate.h"
#include "store/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <random>

namespace {

constexpr quint32 kSeed = 20250131;

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

int killCount()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("QUENVALE_CRASH_KILLS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 200;
}

// A program folder as installed, with receipts saved, "Ask Print" on, a template of its own, three customers.
void prepareShop(const QString& folder)
{
    const QString runtime = QStringLiteral(QUENVALE_RUNTIME_DIR);
    ASSERT_TRUE(QFile::copy(runtime + QStringLiteral("/empty.db"), folder + QStringLiteral("empty.db")));
    copyFolder(runtime + QStringLiteral("/Languages"), folder + QStringLiteral("Languages"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("receipts")));

    SettingsStore settings(folder + QStringLiteral("settings.ini"));
    settings.WriteInteger(QStringLiteral("ReceiptNumber"), 1);
    settings.WriteString(QStringLiteral("ReceiptFolder"), folder + QStringLiteral("receipts"));
    settings.WriteInteger(QStringLiteral("Print"), 1);
    ASSERT_TRUE(settings.UpdateFile());

    QFile templateFile(folder + QStringLiteral("PrintTemplate.txt"));
    ASSERT_TRUE(templateFile.open(QIODevice::WriteOnly));
    templateFile.write(crashplan::TemplateBytes());
    templateFile.close();

    ASSERT_TRUE(CreateDataFileFromTemplate(folder + QStringLiteral("data.db"), folder + QStringLiteral("empty.db")));
    Database db;
    ASSERT_TRUE(db.open(folder + QStringLiteral("data.db")));
    for (const QString& name : crashplan::Customers())
        ASSERT_TRUE(db.ExecuteDirect(QStringLiteral("insert into musteriler (musteriadi) values (?);"), {name}));
}

} // namespace

// The child sells random cash and credit sales through the sale screen and the checkouts while it is killed
// with SIGKILL at random moments. After every kill each started sale must be stored whole or not at all, the
// database must pass its integrity check, and settings.ini and the receipt files must each be a whole file:
// the old one or the new one. A receipt number, once a stored sale carries it, is never handed out again. The
// first sale opens the till's session; every kill leaves it open and whole, and the next start sells into it.
TEST(CrashTest, SalesSurviveSigkillWholeOrNotAtAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QLatin1Char('/');
    prepareShop(folder);
    if (HasFatalFailure())
        return;

    std::mt19937 random(kSeed);
    const int kills = killCount();
    QSet<QString> started;
    CrashCheckResult last;
    QString session;
    qint64 checkTime = 0;
    QElapsedTimer clock;
    clock.start();
    for (int run = 0; run < kills; ++run) {
        QProcess child;
        child.setProgram(QStringLiteral(QUENVALE_CRASH_CHILD));
        child.setArguments({folder, QString::number(kSeed), QString::number(run)});
        child.start();
        ASSERT_TRUE(child.waitForStarted(10000)) << qPrintable(child.errorString());

        // One kill in ten lands anywhere from the start, the others while sales are being made.
        const bool duringStart = std::uniform_int_distribution<int>(0, 9)(random) == 0;
        if (!duringStart) {
            QElapsedTimer waiting;
            waiting.start();
            while (!child.peek(1 << 16).contains("ready\n") && child.state() == QProcess::Running) {
                ASSERT_LT(waiting.elapsed(), 30000) << "the child never got ready";
                child.waitForReadyRead(1000);
            }
        }
        QThread::usleep(std::uniform_int_distribution<unsigned>(0, 300000)(random));
        const bool running = child.state() == QProcess::Running;
        child.kill();
        child.waitForFinished(10000);
        ASSERT_TRUE(running) << "the child ended by itself: " << child.readAllStandardError().toStdString();

        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("sale "))
                started.insert(QString::fromLatin1(line.mid(5)));
        }
        QElapsedTimer checking;
        checking.start();
        // The sales of the last few runs line by line after every kill, all of them now and then and at the end.
        const bool everyLine = run % 25 == 24 || run == kills - 1;
        last = CheckCrashState(folder, kSeed, started, everyLine ? 0 : run - 2);
        checkTime += checking.elapsed();
        ASSERT_TRUE(last.problems.isEmpty())
            << "after kill " << run + 1 << ":\n" << last.problems.join(QLatin1Char('\n')).toStdString();
        // The next start goes on with the session the kill left open.
        if (!session.isEmpty())
            ASSERT_EQ(last.sessionId, session) << "after kill " << run + 1;
        session = last.sessionId;
    }

    std::printf("crash test: %d kills, %d sales whole, %d sales absent, %d sales partial "
                "(%d receipt files, %lld stray files, %.0f s, %.0f s of it checking)\n",
                kills, last.whole, last.absent, last.partial, last.receiptFiles, qint64(last.strayFiles.size()),
                clock.elapsed() / 1000.0, checkTime / 1000.0);
    if (!last.strayFiles.isEmpty())
        std::printf("stray files: %s\n", qPrintable(last.strayFiles.join(QStringLiteral(", "))));
    EXPECT_EQ(last.partial, 0);
    EXPECT_GT(last.whole, kills);
    EXPECT_FALSE(session.isEmpty());
}

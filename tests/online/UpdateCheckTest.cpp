#include "online/MachineInfo.h"
#include "online/ScriptedHttpServer.h"
#include "online/UpdateCheck.h"
#include "online/UpdateStore.h"
#include "online/WaitFor.h"
#include "online/TChecker.h"
#include "support/FixedEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QByteArray kNewVersionAnswer = "<version>1.3</version>\r\n<url>https://dl.example.com/q13.exe</url>\r\nextra\r\n";

MachineInfo fixedMachine()
{
    return {QStringLiteral("Debian GNU/Linux 12 (bookworm) (Version 6.1, Build 0, 64-bit Edition)"),
            QStringLiteral("tr-TR"), QStringLiteral("0f1e2d3c4b5a69788796a5b4c3d2e1f0")};
}

} // namespace

TEST(UpdateAnswer, ValueOnlyFromALineThatIsExactlyTheTagPair)
{
    const struct
    {
        const char* line;
        const char* value;
    } cases[] = {{"<version>1.3</version>", "1.3"},
                 {"<version>1.3</version> ", ""},
                 {" <version>1.3</version>", ""},
                 {"<VERSION>1.3</VERSION>", ""},
                 {"<version>1.3", ""},
                 {"<version></version>", ""},
                 {"<version>", ""},
                 {"<url>http://x/</url>", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(TaggedValue(QString::fromLatin1(c.line), QStringLiteral("version")), QString::fromLatin1(c.value))
            << c.line;
}

TEST(MachineDescription, OsTextFromReleaseFileAndKernelVersion)
{
    EXPECT_EQ(OsPrettyName(QStringLiteral("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n")),
              QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
    EXPECT_EQ(OsPrettyName(QStringLiteral("NAME=Alpine\n")), QStringLiteral("Alpine"));
    EXPECT_EQ(OsPrettyName(QString()), QStringLiteral("Linux"));

    int major = -1, minor = -1, build = -1;
    ParseKernelVersion(QStringLiteral("6.1.0-18-amd64"), major, minor, build);
    EXPECT_EQ(FormatOsDescription(QStringLiteral("Debian %1"), major, minor, build, true),
              QStringLiteral("Debian %1 (Version 6.1, Build 0, 64-bit Edition)"));
    ParseKernelVersion(QStringLiteral("5.15"), major, minor, build);
    EXPECT_EQ(FormatOsDescription(QStringLiteral("X"), major, minor, build, false),
              QStringLiteral("X (Version 5.15, Build 0, 32-bit Edition)"));

    EXPECT_EQ(LocaleTag(QStringLiteral("tr_TR")), QStringLiteral("tr-TR"));
    EXPECT_EQ(LocaleTag(QStringLiteral("C")), QStringLiteral("xx"));
}

class UpdateCheckTest : public ::testing::Test
{
protected:
    UpdateCheckSetup setup(const QString& today = QStringLiteral("31.01.2025")) const
    {
        UpdateCheckSetup s;
        s.storePath = storePath;
        s.appTitle = QStringLiteral("Zelkora - Quenvale");
        s.appVersion = QStringLiteral("1.0");
        s.today = today;
        s.timeouts = {2000, 2000};
        s.machineInfo = fixedMachine;
        return s;
    }

    QTemporaryDir folder;
    QString storePath = folder.path() + QStringLiteral("/config/Zelkora/Quenvale/update.ini");
    ScriptedHttpServer server;
    ServiceUrlOverride override{server.baseUrl()};
};

TEST_F(UpdateCheckTest, RequestCarriesTheFieldsInOrder)
{
    server.defaultAnswer = {200, kNewVersionAnswer};
    RunUpdateCheck(setup());

    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0].path, "/php/check2.php");
    EXPECT_EQ(server.requests[0].body,
              "cmd=check&appname=Zelkora+-+Quenvale&version=1.0"
              "&os=Debian+GNU%2FLinux+12+%28bookworm%29+%28Version+6.1%2C+Build+0%2C+64-bit+Edition%29"
              "&local=tr-TR&guid=0f1e2d3c4b5a69788796a5b4c3d2e1f0");
}

TEST_F(UpdateCheckTest, SixStartsOnOneDayNoticeFourTimesAndAskFiveTimes)
{
    server.defaultAnswer = {200, kNewVersionAnswer};
    const bool notices[] = {true, true, true, true, false, false};
    const int requests[] = {1, 2, 3, 4, 5, 5};
    for (int start = 0; start < 6; ++start) {
        const UpdateCheckResult result = RunUpdateCheck(setup());
        EXPECT_EQ(result.notice, notices[start]) << "start " << start + 1;
        EXPECT_EQ(server.requests.size(), requests[start]) << "start " << start + 1;
    }
    const UpdateStore store(storePath);
    EXPECT_EQ(store.LastUpdateCheck(), QStringLiteral("31.01.2025"));
    EXPECT_EQ(store.LastUpdateCheckCount(), 5);
    EXPECT_EQ(store.CurrentVersion(), QStringLiteral("1.3"));
    EXPECT_EQ(store.CurrentURL(), QStringLiteral("https://dl.example.com/q13.exe"));

    // The next day starts counting again.
    const UpdateCheckResult nextDay = RunUpdateCheck(setup(QStringLiteral("01.02.2025")));
    EXPECT_TRUE(nextDay.notice);
    EXPECT_EQ(UpdateStore(storePath).LastUpdateCheckCount(), 1);
}

struct RuleCase
{
    const char* name;
    std::optional<int> showUpdate;
    std::optional<int> storedCount;   // checks already made today
    const char* storedUrl;
    int status;
    QByteArray answer;
    bool requested;
    bool notice;
    const char* version;
    const char* url;
    qint64 countAfter;
};

void PrintTo(const RuleCase& c, std::ostream* out)
{
    *out << c.name;
}

class UpdateRules : public UpdateCheckTest, public ::testing::WithParamInterface<RuleCase>
{
};

TEST_P(UpdateRules, DecideRequestNoticeAndCount)
{
    const RuleCase& c = GetParam();
    {
        UpdateStore store(storePath);
        if (c.showUpdate)
            store.WriteShowUpdate(*c.showUpdate != 0);
        if (c.storedCount)
            store.WriteCheck(QStringLiteral("31.01.2025"), *c.storedCount);
        store.WriteCurrent(QString(), QString::fromLatin1(c.storedUrl));
    }
    server.defaultAnswer = {c.status, c.answer};

    const UpdateCheckResult result = RunUpdateCheck(setup());

    EXPECT_EQ(result.requested, c.requested);
    EXPECT_EQ(server.requests.isEmpty(), !c.requested);
    EXPECT_EQ(result.notice, c.notice);
    EXPECT_EQ(result.version, QString::fromLatin1(c.version));
    EXPECT_EQ(result.url, QString::fromLatin1(c.url));
    EXPECT_EQ(UpdateStore(storePath).LastUpdateCheckCount(), c.countAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateRules,
    ::testing::Values(
        RuleCase{"NewVersion", {}, {}, "", 200, kNewVersionAnswer, true, true, "1.3", "https://dl.example.com/q13.exe", 1},
        RuleCase{"RunningVersion", {}, {}, "", 200, "<version>1.0</version>\n<url>u</url>", true, false, "1.0", "u", 1},
        RuleCase{"OlderVersionAlsoCounts", {}, {2}, "", 200, "<version>0.9</version>", true, true, "0.9", "", 3},
        RuleCase{"TrailingSpaceAfterTag", {}, {}, "", 200, "<version>1.3</version> \n<url>u</url>", true, false, "", "u", 1},
        RuleCase{"VersionNotANumber", {}, {}, "", 200, "<version>1.3b</version>", true, false, "1.3b", "", 1},
        RuleCase{"NoUrlLineKeepsStoredUrl", {}, {}, "https://old/", 200, "<version>2.0</version>", true, true, "2.0", "https://old/", 1},
        RuleCase{"ErrorAnswerNotCounted", {}, {3}, "", 200, "ERROR: unknown", true, false, "", "", 3},
        RuleCase{"ErrorStatusNotCounted", {}, {3}, "", 503, kNewVersionAnswer, true, false, "", "", 3},
        RuleCase{"NoticesOffNoRequest", {0}, {}, "", 200, kNewVersionAnswer, false, false, "", "", 0},
        RuleCase{"FiveChecksTodayNoRequest", {}, {5}, "", 200, kNewVersionAnswer, false, false, "", "", 5},
        RuleCase{"FifthCheckSilent", {}, {4}, "", 200, kNewVersionAnswer, true, false, "1.3", "https://dl.example.com/q13.exe", 5}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckTest, MonitorRunsTheCheckOnItsThreadAndReportsOnce)
{
    server.defaultAnswer = {200, kNewVersionAnswer};
    UpdateCheckMonitor monitor(setup());
    EXPECT_FALSE(monitor.started());
    EXPECT_TRUE(monitor.showUpdateMenuChecked());

    EXPECT_FALSE(monitor.tick());
    EXPECT_TRUE(monitor.started());
    ASSERT_TRUE(WaitFor([&] { return monitor.tick(); }));
    EXPECT_TRUE(monitor.finished());
    EXPECT_TRUE(monitor.showUpdateMenuChecked());
    EXPECT_TRUE(monitor.newVersionAvailable());
    EXPECT_EQ(monitor.newVersionText(), QStringLiteral("1.3"));
    EXPECT_EQ(monitor.downloadUrl(), QStringLiteral("https://dl.example.com/q13.exe"));
    EXPECT_FALSE(monitor.tick());
}

TEST_F(UpdateCheckTest, NoticesSwitchedOffClearTheMenuCheckMark)
{
    UpdateStore(storePath).WriteShowUpdate(false);
    UpdateCheckMonitor monitor(setup());
    monitor.tick();
    ASSERT_TRUE(WaitFor([&] { return monitor.tick(); }));
    EXPECT_FALSE(monitor.showUpdateMenuChecked());
    EXPECT_FALSE(monitor.newVersionAvailable());
    EXPECT_TRUE(server.requests.isEmpty());
}

TEST_F(UpdateCheckTest, SilentServerNeverHoldsUpTheInterfaceThread)
{
    server.neverAnswer = true;
    auto s = setup();
    s.timeouts = {60000, 60000};
    {
        UpdateCheckMonitor monitor(s);
        EXPECT_FALSE(monitor.tick());
        ASSERT_TRUE(WaitFor([&] { return server.connections > 0; }));
        EXPECT_FALSE(monitor.tick());
        EXPECT_FALSE(monitor.finished());
        // Leaving the scope stops the check instead of waiting out its time-outs.
    }
    EXPECT_EQ(UpdateStore(storePath).LastUpdateCheckCount(), 0);
}

TEST(UpdateCheckSetupTest, TodayIsTheEnvironmentsShortDate)
{
    FixedEnvironment environment;
    environment.dateFormat = QStringLiteral("M/d/yyyy");
    const UpdateCheckSetup s = MakeUpdateCheckSetup(environment, QStringLiteral("T"), QStringLiteral("1.0"));
    EXPECT_EQ(s.today, QStringLiteral("1/31/2025"));
    EXPECT_TRUE(s.storePath.endsWith(QStringLiteral("/Zelkora/Quenvale/update.ini")));
    EXPECT_EQ(s.timeouts.connectMs, 10000);
}

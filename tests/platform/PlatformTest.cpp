#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path, const QByteArray& bytes = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(IsFolderWritable, NewProbeFileInAWritableFolderIsRemovedAgain)
{
    QTemporaryDir dir;
    EXPECT_TRUE(platform::IsFolderWritable(dir.path()));
    EXPECT_TRUE(platform::IsFolderWritable(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST(IsFolderWritable, FalseWhereTheProbeCannotBeCreatedNew)
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("file")));
    EXPECT_FALSE(platform::IsFolderWritable(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(platform::IsFolderWritable(dir.filePath(QStringLiteral("file"))));
    EXPECT_FALSE(platform::IsFolderWritable(QString()));

    // A left-over probe file makes the test fail, and it is not someone else's to delete.
    touch(dir.filePath(QStringLiteral("chk.tmp")), "left over");
    EXPECT_FALSE(platform::IsFolderWritable(dir.path()));
    QFile leftOver(dir.filePath(QStringLiteral("chk.tmp")));
    ASSERT_TRUE(leftOver.open(QIODevice::ReadOnly));
    EXPECT_EQ(leftOver.readAll(), QByteArray("left over"));
}

TEST(IsFolderWritable, FalseInAReadOnlyFolder)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile canary(folder + QStringLiteral("/canary"));
    const bool bypassed = canary.open(QIODevice::WriteOnly);
    canary.remove();
    if (!bypassed) {
        EXPECT_FALSE(platform::IsFolderWritable(folder));
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (bypassed)
        GTEST_SKIP() << "this user can write into a read-only folder";
}

TEST(ChooseDataFolder, WritableExecutableFolderIsUsed)
{
    QTemporaryDir exe;
    QTemporaryDir appData;
    EXPECT_EQ(platform::ChooseDataFolder(exe.path(), appData.path(), "Zelkora", "Quenvale"), exe.path() + "/");
    EXPECT_EQ(platform::ChooseDataFolder(exe.path() + "/", appData.path(), "Zelkora", "Quenvale"), exe.path() + "/");
    EXPECT_FALSE(QFileInfo::exists(appData.filePath(QStringLiteral("Zelkora"))));
}

TEST(ChooseDataFolder, UnusableExecutableFolderFallsBackToAppDataEveryTime)
{
    QTemporaryDir exe;
    QTemporaryDir appData;
    const QString expected = appData.path() + QStringLiteral("/Zelkora/Quenvale/");
    const QString unusable[] = {exe.filePath(QStringLiteral("missing")), exe.path()};
    touch(exe.filePath(QStringLiteral("chk.tmp")));
    for (const QString& folder : unusable) {
        for (int run = 0; run < 2; ++run) {
            EXPECT_EQ(platform::ChooseDataFolder(folder, appData.path(), "Zelkora", "Quenvale"), expected);
            EXPECT_TRUE(QFileInfo(expected).isDir());
            EXPECT_TRUE(platform::IsFolderWritable(expected));
        }
    }
    EXPECT_EQ(platform::ChooseDataFolder(exe.path(), appData.path() + "/", "Zelkora", "Quenvale"), expected);
}

TEST(Ansi, Windows1252And1254RoundTrip)
{
    const struct
    {
        int codePage;
        QString text;
        QByteArray bytes;
    } cases[] = {
        {1252, QStringLiteral("Café 12,50 € – Größe"), QByteArray("Caf\xE9 12,50 \x80 \x96 Gr\xF6\xDF" "e")},
        {1254, QStringLiteral("ğüşıöç ĞÜŞİÖÇ"), QByteArray("\xF0\xFC\xFE\xFD\xF6\xE7 \xD0\xDC\xDE\xDD\xD6\xC7")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::EncodeAnsi(c.text, c.codePage), c.bytes) << c.codePage;
        EXPECT_EQ(platform::DecodeAnsi(c.bytes, c.codePage), c.text) << c.codePage;
    }
}

TEST(Ansi, CharactersOutsideTheCodePageAndUndefinedBytes)
{
    EXPECT_EQ(platform::EncodeAnsi(QStringLiteral("ş→x"), 1252), QByteArray("??x"));
    EXPECT_EQ(platform::EncodeAnsi(QString(QChar(0xD800)) + QLatin1Char('a'), 1252), QByteArray("?a"));
    EXPECT_EQ(platform::DecodeAnsi(QByteArray("a\x81" "b"), 1252), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(platform::DecodeAnsi(QByteArray(), 1254), QString());
}

TEST(Ansi, LastCharacterSurvivesInCodePagesThatCombine)
{
    // Vietnamese and Hebrew code pages hold a letter back in case a combining mark follows.
    EXPECT_EQ(platform::DecodeAnsi(QByteArray("ba"), 1258), QStringLiteral("ba"));
    EXPECT_EQ(platform::DecodeAnsi(QByteArray("\xE0\xE1"), 1255), QStringLiteral("אב"));
}

TEST(RestartScript, HoldsCommentsPauseAndTheQuotedExecutable)
{
    QTemporaryDir dir;
    const QString dataFolder = dir.path() + QLatin1Char('/');
    touch(dataFolder + QStringLiteral("start.sh"), "old contents that are longer than the new script ...........");
    const QString exe = QStringLiteral("/opt/Quenvale/quenvale");
    const QString path = platform::WriteRestartScript(dataFolder, exe, 1252);
    ASSERT_EQ(path, dataFolder + QStringLiteral("start.sh"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("#!/bin/sh\n"
                                      "# This file was created automatically to restart the program.\n"
                                      "# It is safe to delete this file.\n"
                                      "sleep 1\n"
                                      "'/opt/Quenvale/quenvale'\n"));
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::ExeOwner);
    EXPECT_TRUE(platform::WriteRestartScript(dir.filePath(QStringLiteral("missing/")), exe, 1252).isEmpty());
}

TEST(RestartScript, ExecutablePathReachesTheShellUnchanged)
{
    QTemporaryDir dir;
    const QString dataFolder = dir.path() + QLatin1Char('/');
    const QString exe = QStringLiteral("/home/gül/My \"Shop\" $HOME `id` it's\\quenvale");
    const QString path = platform::WriteRestartScript(dataFolder, exe, 1254);
    ASSERT_FALSE(path.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray lastLine = f.readAll().trimmed().split('\n').last();

    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf %s ") + QFile::decodeName(lastLine)});
    ASSERT_TRUE(shell.waitForFinished());
    EXPECT_EQ(QFile::decodeName(shell.readAllStandardOutput()), exe);
}

TEST(LocaleTables, WindowsLanguageIdsAndListSeparators)
{
    const struct
    {
        const char* locale;
        int languageId;
        char separator;
    } cases[] = {
        {"en_US", 1033, ','}, {"en_GB", 2057, ','}, {"tr_TR", 1055, ';'}, {"de_DE", 1031, ';'},
        {"de_AT", 3079, ';'}, {"de_CH", 2055, ','}, {"fr_FR", 1036, ';'}, {"fr_CA", 3084, ';'},
        {"pt_BR", 1046, ';'}, {"pt_PT", 2070, ';'}, {"zh_CN", 2052, ','}, {"zh_TW", 1028, ','},
        {"ja_JP", 1041, ','}, {"sw_KE", 1033, ','}, {"C", 1033, ','},
    };
    for (const auto& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(platform::WindowsLanguageIdFor(locale), c.languageId) << c.locale;
        EXPECT_EQ(platform::ListSeparatorFor(locale), QLatin1Char(c.separator)) << c.locale;
    }
}

} // namespace

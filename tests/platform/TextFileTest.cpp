#include "platform/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TextFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("file.txt"));

    void writeFile(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(TextFileTest, SplitsLinesAndLetsAByteOrderMarkDecide)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
        QStringList lines;
    } cases[] = {
        {"zero bytes", QByteArray(), TextEncoding::Utf8, {}},
        {"only CR LF", QByteArray("\r\n"), TextEncoding::Utf8, {QString()}},
        {"only LF", QByteArray("\n"), TextEncoding::Utf8, {QString()}},
        {"only a BOM", QByteArray("\xEF\xBB\xBF"), TextEncoding::Utf8, {}},
        {"mixed breaks", QByteArray("a\r\nb\rc\nd"), TextEncoding::Utf8, {"a", "b", "c", "d"}},
        {"empty lines kept", QByteArray("a\r\n\r\n\n\rb\r\n"), TextEncoding::Utf8, {"a", "", "", "", "b"}},
        {"LF CR is two breaks", QByteArray("a\n\rb"), TextEncoding::Utf8, {"a", "", "b"}},
        {"UTF-8 without BOM", QByteArray("g\xC3\xBCl\r\n"), TextEncoding::Utf8, {"gül"}},
        {"UTF-8 BOM beats ANSI", QByteArray("\xEF\xBB\xBF\xC5\x9F\r\nx"), TextEncoding::Ansi, {"ş", "x"}},
        {"UTF-16 LE BOM", QByteArray("\xFF\xFE\x1F\x01\r\0\n\0x\0", 10), TextEncoding::Utf8, {"ğ", "x"}},
        {"UTF-16 BE BOM", QByteArray("\xFE\xFF\x01\x1F\0\n", 6), TextEncoding::Ansi, {"ğ"}},
        {"ANSI 1254", QByteArray("\xF0\xFE\r\n"), TextEncoding::Ansi, {"ğş"}},
    };
    for (const auto& c : cases) {
        writeFile(c.bytes);
        QStringList lines{QStringLiteral("stale")};
        ASSERT_TRUE(LoadLinesFromFile(path, c.encoding, 1254, lines)) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST_F(TextFileTest, InvalidUtf8FailsSoTheCallerCanRetryInAnsi)
{
    const QByteArray cases[] = {
        QByteArray("caf\xE9\r\n"),
        QByteArray("ab\xC3"),
        QByteArray("\xEF\xBB\xBF" "caf\xE9"),
        QByteArray("\xFF\xFE\x00\xD8", 4), // UTF-16 with a lone surrogate
        QByteArray("\xFF\xFE" "a\0b", 5),   // UTF-16 cut in the middle of a character
    };
    for (const QByteArray& bytes : cases) {
        writeFile(bytes);
        QStringList lines{QStringLiteral("untouched")};
        QString error;
        EXPECT_FALSE(LoadLinesFromFile(path, TextEncoding::Utf8, 1252, lines, &error)) << bytes.toHex(' ').constData();
        EXPECT_EQ(lines, QStringList{QStringLiteral("untouched")});
        EXPECT_FALSE(error.isEmpty());
    }
    writeFile("caf\xE9\r\n");
    QStringList lines;
    ASSERT_TRUE(LoadLinesFromFile(path, TextEncoding::Ansi, 1252, lines));
    EXPECT_EQ(lines, QStringList{QStringLiteral("café")});
}

TEST_F(TextFileTest, MissingFileOrFolderFails)
{
    QStringList lines;
    EXPECT_FALSE(LoadLinesFromFile(dir.filePath(QStringLiteral("missing.txt")), TextEncoding::Utf8, 1252, lines));
    EXPECT_FALSE(LoadLinesFromFile(dir.path(), TextEncoding::Utf8, 1252, lines));
}

TEST_F(TextFileTest, AtomicWriteReplacesWholeFileOrLeavesTheOldOne)
{
    writeFile("old old old old");
    ASSERT_TRUE(WriteFileAtomically(path, Utf8CrLfLines({QStringLiteral("ş"), QString()}, true)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBF\xC5\x9F\r\n\r\n"));

    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("missing/file.txt")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

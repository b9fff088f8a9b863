#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kBom("\xEF\xBB\xBF", 3);

class SettingsStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));

    void writeFile(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile()
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(SettingsStoreTest, MissingFileGivesEmptyStoreAndIsNotCreated)
{
    SettingsStore store(path);
    EXPECT_FALSE(store.ValueExists(QStringLiteral("ReceiptNumber")));
    EXPECT_EQ(store.ReadString(QStringLiteral("CurrencySymbol"), QStringLiteral("$")), QStringLiteral("$"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("ReceiptNumber"), 1), 1);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsStoreTest, WritesExactBytesAndKeepsKeyOrderAcrossRoundTrips)
{
    {
        SettingsStore store(path);
        store.WriteInteger(QStringLiteral("ReceiptNumber"), 17);
        store.WriteString(QStringLiteral("CurrencySymbol"), QString());
        store.WriteString(QStringLiteral("ReceiptFolder"), QStringLiteral("/home/gül/fiş"));
        ASSERT_TRUE(store.UpdateFile());
    }
    EXPECT_EQ(readFile(), kBom + "[Settings]\r\nReceiptNumber=17\r\nCurrencySymbol=\r\n"
                                 "ReceiptFolder=/home/g\xC3\xBCl/fi\xC5\x9F\r\n\r\n");

    // A changed key keeps its place and spelling; a new key goes to the end.
    SettingsStore store(path);
    store.WriteString(QStringLiteral("currencysymbol"), QStringLiteral("€"));
    store.WriteInteger(QStringLiteral("Print"), 1);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(readFile(), kBom + "[Settings]\r\nReceiptNumber=17\r\nCurrencySymbol=\xE2\x82\xAC\r\n"
                                 "ReceiptFolder=/home/g\xC3\xBCl/fi\xC5\x9F\r\nPrint=1\r\n\r\n");

    SettingsStore reread(path);
    EXPECT_TRUE(reread.ValueExists(QStringLiteral("CurrencySymbol")));
    EXPECT_EQ(reread.ReadString(QStringLiteral("CurrencySymbol"), QStringLiteral("$")), QStringLiteral("€"));
    EXPECT_EQ(reread.ReadString(QStringLiteral("ReceiptFolder"), {}), QStringLiteral("/home/gül/fiş"));
    EXPECT_EQ(reread.ReadInteger(QStringLiteral("ReceiptNumber"), 1), 17);
}

TEST_F(SettingsStoreTest, EmptyValueExistsAndDiffersFromAbsentKey)
{
    writeFile("[Settings]\r\nCurrencySymbol=\r\n");
    SettingsStore store(path);
    EXPECT_TRUE(store.ValueExists(QStringLiteral("CurrencySymbol")));
    EXPECT_EQ(store.ReadString(QStringLiteral("CurrencySymbol"), QStringLiteral("$")), QString());
    EXPECT_FALSE(store.ValueExists(QStringLiteral("ReceiptFolder")));
}

TEST_F(SettingsStoreTest, ReadsWithOrWithoutBomAndAnyLineBreak)
{
    for (const QByteArray& bytes : {kBom + "[Settings]\r\nLanguageFile=Turkish.lang.txt\r\n",
                                    QByteArray("[Settings]\nLanguageFile=Turkish.lang.txt"),
                                    QByteArray("[Settings]\rLanguageFile=Turkish.lang.txt\r")}) {
        writeFile(bytes);
        SettingsStore store(path);
        EXPECT_EQ(store.ReadString(QStringLiteral("LanguageFile"), {}), QStringLiteral("Turkish.lang.txt"))
            << bytes.toHex(' ').constData();
    }
}

TEST_F(SettingsStoreTest, HandEditedFileIsReadLeniently)
{
    writeFile("; a comment\r\n"
              "Stray=before any section\r\n"
              "  [ settings ]  \r\n"
              "\tcurrencySYMBOL =  kr \t\r\n"
              "; CurrencySymbol=ignored\r\n"
              "\r\n"
              "NoEqualsSign\r\n"
              "Url = a=b = c \r\n"
              "VCL=3\r\n"
              "vcl=9\r\n"
              "[Other]\r\n"
              "VCL=5\r\n"
              "Keep= this \r\n");
    SettingsStore store(path);
    EXPECT_EQ(store.ReadString(QStringLiteral("CurrencySymbol"), {}), QStringLiteral("kr"));
    EXPECT_EQ(store.ReadString(QStringLiteral("URL"), {}), QStringLiteral("a=b = c"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("VCL"), 0), 3); // the first of repeated keys, not [Other]'s
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Stray")));
    EXPECT_FALSE(store.ValueExists(QStringLiteral("NoEqualsSign")));
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Keep")));

    // Rewriting keeps the other section and the repeated key, and drops comments and stray lines.
    store.WriteInteger(QStringLiteral("VCL"), 4);
    store.WriteString(QStringLiteral("Print"), QStringLiteral("1"));
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(readFile(), kBom + "[settings]\r\ncurrencySYMBOL=kr\r\nUrl=a=b = c\r\nVCL=4\r\nvcl=9\r\nPrint=1\r\n\r\n"
                                 "[Other]\r\nVCL=5\r\nKeep=this\r\n\r\n");
}

TEST_F(SettingsStoreTest, SettingsSectionWrittenAfterOtherSectionsWhenNew)
{
    writeFile("[Other]\r\nA=1\r\n");
    SettingsStore store(path);
    store.WriteString(QStringLiteral("LanguageFile"), QStringLiteral("German.lang.txt"));
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(readFile(), kBom + "[Other]\r\nA=1\r\n\r\n[Settings]\r\nLanguageFile=German.lang.txt\r\n\r\n");
}

TEST_F(SettingsStoreTest, InvalidUtf8FileIsDeletedAndStoreIsEmpty)
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37 + 11) & 0xFF);
    const QByteArray cases[] = {
        QByteArray("[Settings]\r\nCurrencySymbol=\xA4\r\n"),       // ANSI, not UTF-8
        kBom + QByteArray("[Settings]\r\nX=\xC3\r\n"),              // truncated sequence after a BOM
        QByteArray("[Settings]\r\nX=\xED\xA0\x80\r\n"),             // encoded surrogate
        QByteArray("[Settings]\r\nX=\xC0\xAF\r\n"),                 // overlong
        binary,
    };
    for (const QByteArray& bytes : cases) {
        writeFile(bytes);
        SettingsStore store(path);
        EXPECT_FALSE(QFile::exists(path)) << bytes.left(40).toHex(' ').constData();
        EXPECT_FALSE(store.ValueExists(QStringLiteral("CurrencySymbol")));
        EXPECT_FALSE(store.ValueExists(QStringLiteral("X")));
    }
}

TEST_F(SettingsStoreTest, LargeFileIsReadAndWrittenBack)
{
    QByteArray bytes = kBom + "[Settings]\r\n";
    bytes += "Big=" + QByteArray(6 * 1024 * 1024, 'x') + "\r\n";
    for (int i = 0; i < 200000; ++i)
        bytes += "Key" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    bytes += "\r\n";
    writeFile(bytes);

    SettingsStore store(path);
    EXPECT_EQ(store.ReadString(QStringLiteral("Big"), {}).size(), 6 * 1024 * 1024);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("KEY199999"), -1), 199999);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(readFile(), bytes);
}

TEST_F(SettingsStoreTest, ReadIntegerFallsBackUnlessTheValueIsADecimal64BitInteger)
{
    const struct
    {
        const char* value;
        qint64 expected;
    } cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"9223372036854775807", 9223372036854775807LL},
        {"-9223372036854775808", (-9223372036854775807LL - 1)},
        {"9223372036854775808", -1},
        {"abc", -1},
        {"", -1},
        {"12abc", -1},
        {"1.5", -1},
        {"0x10", -1},
        {"1 000", -1},
    };
    SettingsStore store(path);
    for (const auto& c : cases) {
        store.WriteString(QStringLiteral("PaymentColumn1"), QString::fromUtf8(c.value));
        EXPECT_EQ(store.ReadInteger(QStringLiteral("PaymentColumn1"), -1), c.expected) << c.value;
    }
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Absent"), 100), 100);
}

TEST_F(SettingsStoreTest, BlanksAroundAValueLastOnlyUntilTheFileIsReadAgain)
{
    SettingsStore store(path);
    store.WriteString(QStringLiteral("CurrencySymbol"), QStringLiteral(" TL "));
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(store.ReadString(QStringLiteral("CurrencySymbol"), {}), QStringLiteral(" TL "));
    EXPECT_EQ(SettingsStore(path).ReadString(QStringLiteral("CurrencySymbol"), {}), QStringLiteral("TL"));
}

TEST_F(SettingsStoreTest, LineBreakInAValueCannotAddEntries)
{
    SettingsStore store(path);
    store.WriteString(QStringLiteral("ReceiptFolder"), QStringLiteral("/tmp/a\r\nSecretAdmin64=\n[Other]"));
    store.WriteString(QStringLiteral("SecretAdmin64"), QStringLiteral("c2VjcmV0"));
    ASSERT_TRUE(store.UpdateFile());

    SettingsStore reread(path);
    EXPECT_EQ(reread.ReadString(QStringLiteral("SecretAdmin64"), {}), QStringLiteral("c2VjcmV0"));
    EXPECT_EQ(reread.ReadString(QStringLiteral("ReceiptFolder"), {}), QStringLiteral("/tmp/a  SecretAdmin64= [Other]"));
}

TEST_F(SettingsStoreTest, UpdateFileReportsAFolderThatDoesNotExist)
{
    SettingsStore store(dir.filePath(QStringLiteral("missing/settings.ini")));
    store.WriteInteger(QStringLiteral("VCL"), 1);
    EXPECT_FALSE(store.UpdateFile());
    EXPECT_EQ(store.ReadInteger(QStringLiteral("VCL"), 0), 1);
}

} // namespace

TEST(SettingKeysTest, TypedReadsTakeTheTableDefaultsAndWritesReachTheFileAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nReceiptNumber=abc\r\nMainColumn2=80\r\n");
    }
    SettingsStore settings(path);
    EXPECT_EQ(settings.text(SettingKey::CurrencySymbol), QStringLiteral("$"));
    EXPECT_EQ(settings.integer(SettingKey::ReceiptNumber), 1); // not a whole number: the default
    EXPECT_TRUE(settings.contains(SettingKey::ReceiptNumber));
    EXPECT_EQ(settings.integer(SettingKey::MainColumn, 2), 80);
    EXPECT_EQ(settings.integer(SettingKey::MainColumn, 3), 124);
    EXPECT_EQ(settings.integer(SettingKey::ProductsLeft), -1);
    EXPECT_EQ(settings.text(SettingKey::ReceiptPrinter), QStringLiteral("system"));

    ASSERT_TRUE(settings.set(SettingKey::ReceiptNumber, qint64(12)));
    ASSERT_TRUE(settings.set({{SettingKey::CurrencySymbol, QStringLiteral("€")}, {SettingKey::StockSheetColumn, qint64(90), 4}}));
    const SettingsStore reread(path);
    EXPECT_EQ(reread.integer(SettingKey::ReceiptNumber), 12);
    EXPECT_EQ(reread.text(SettingKey::CurrencySymbol), QStringLiteral("€"));
    EXPECT_EQ(reread.ReadString(QStringLiteral("StockSheetColumn4"), {}), QStringLiteral("90"));
    EXPECT_EQ(reread.ReadString(QStringLiteral("Print"), QStringLiteral("absent")), QStringLiteral("absent"));
}

TEST(SettingKeysTest, EveryKeyHasItsOwnName)
{
    QSet<QString> names;
    for (int key = int(SettingKey::LanguageFile); key <= int(SettingKey::CashDrawer); ++key) {
        EXPECT_EQ(int(DefinitionOf(SettingKey(key)).key), key);
        names.insert(SettingName(SettingKey(key), 1));
    }
    EXPECT_EQ(names.size(), int(SettingKey::CashDrawer) + 1);
    EXPECT_EQ(SettingName(SettingKey::AskPrint), QStringLiteral("Print"));
    EXPECT_EQ(SettingName(SettingKey::CreditColumn, 8), QStringLiteral("CreditColumn8"));
}

#include "reports/CsvExportFile.h"
#include "reports/CsvFile.h"
#include "pos/Money.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(CsvQuote, EnclosesOnlyValuesWithTheSeparatorOrAQuote)
{
    const struct
    {
        const char* value;
        char separator;
        const char* written;
    } cases[] = {
        {"Milk", ';', "Milk"},
        {"", ';', ""},
        {" padded ", ';', " padded "},
        {"two\r\nlines", ';', "two\r\nlines"},
        {"a,b", ';', "a,b"},
        {"a,b", ',', "\"a,b\""},
        {"a;b", ';', "\"a;b\""},
        {"12\" pizza", ';', "\"12\"\" pizza\""},
        {"\"", ',', "\"\"\"\""},
        {"\"x\";y", ';', "\"\"\"x\"\";y\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvQuote(QString::fromUtf8(c.value), QLatin1Char(c.separator)), QString::fromUtf8(c.written))
            << c.value;
}

TEST(CsvWriter, WritesUtf8WithoutBomAndCrLfAfterEveryLine)
{
    CsvWriter quoted(QLatin1Char(';'));
    quoted.addLine({QStringLiteral("Barcode"), QStringLiteral("Product")});
    quoted.addLine({QStringLiteral("1"), QStringLiteral("S\u00fct;1 L"), QString()});
    EXPECT_EQ(quoted.bytes(), QByteArray("Barcode;Product\r\n1;\"S\xC3\xBCt;1 L\";\r\n"));

    CsvWriter plain(QLatin1Char(';'), CsvWriter::Quoting::None);
    plain.addLine({QStringLiteral("1"), QStringLiteral("a;b"), QStringLiteral("\"q\"")});
    EXPECT_EQ(plain.bytes(), QByteArray("1;a;b;\"q\"\r\n"));

    EXPECT_TRUE(CsvWriter(QLatin1Char(',')).bytes().isEmpty());
}

TEST(CsvWriter, SaveReplacesAnExistingFileWhole)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1000, 'x'));
    }
    CsvWriter writer(QLatin1Char(','));
    writer.addLine({QStringLiteral("ID"), QStringLiteral("Customer")});
    ASSERT_TRUE(writer.save(path));
    EXPECT_EQ(readAll(path), QByteArray("ID,Customer\r\n"));

    QString error;
    EXPECT_FALSE(writer.save(folder.filePath(QStringLiteral("missing/out.csv")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(CsvExportFile, AFileOfManyPiecesHoldsEveryLineInOrderAndReplacesTheOldOneOnlyOnCommit)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    CsvWriter whole(u';');
    CsvExportFile file(path, u';', CsvWriter::Quoting::Quote);
    CsvExportResult result;
    ASSERT_TRUE(file.open(result));
    // About three megabytes: several pieces and a rest.
    for (int i = 0; i < 40000; ++i) {
        const QStringList fields{QString::number(i), QStringLiteral("S\u00fct; %1").arg(QString(60, u'x'))};
        whole.addLine(fields);
        ASSERT_TRUE(file.addLine(fields, result));
    }
    EXPECT_EQ(readAll(path), QByteArray("old\r\n"));
    ASSERT_TRUE(file.commit(result));
    EXPECT_TRUE(result.ok());
    const QByteArray written = readAll(path);
    EXPECT_EQ(written.size(), whole.bytes().size());
    EXPECT_TRUE(written == whole.bytes());

    CsvExportFile unwritable(folder.filePath(QStringLiteral("missing/out.csv")), u';', CsvWriter::Quoting::None);
    CsvExportResult failed;
    EXPECT_FALSE(unwritable.open(failed));
    EXPECT_EQ(failed.status, CsvExportResult::Status::WriteFailed);
    EXPECT_FALSE(failed.message.isEmpty());
}

TEST(SplitDateTime, SplitsAtTheFirstBlank)
{
    const struct
    {
        const char* text;
        const char* date;
        const char* time;
    } cases[] = {
        {"2024-05-01 14:03:27", "2024-05-01", "14:03:27"},
        {"14:03:27", "", "14:03:27"},
        {"", "", ""},
        {"2024-05-01  14:03:27 x", "2024-05-01", " 14:03:27 x"},
    };
    for (const auto& c : cases) {
        const DateTimeParts parts = SplitDateTime(QString::fromLatin1(c.text));
        EXPECT_EQ(parts.date, QLatin1String(c.date)) << c.text;
        EXPECT_EQ(parts.time, QLatin1String(c.time)) << c.text;
    }
}

TEST(MoneyText, RoundsHalvesAwayFromZeroAfterFifteenDigits)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {0, "0.00"},          {12.5, "12.50"},      {-7.5, "-7.50"},       {0.05, "0.05"},
        {2.675, "2.68"},      {1.005, "1.01"},      {0.125, "0.13"},       {-0.125, "-0.13"},
        {9.995, "10.00"},     {0.004, "0.00"},      {-0.004, "0.00"},      {0.005, "0.01"},
        {0.0004, "0.00"},     {123456.785, "123456.79"}, {1e15, "1000000000000000.00"},
        {3 * 1.1, "3.30"},    {1e-300, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MoneyText(c.value), QLatin1String(c.text)) << c.value;
}

} // namespace

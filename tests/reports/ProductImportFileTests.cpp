#include "reports/ProductImportFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

TEST(ParseImportLine, SplitsFieldsAsTheImportReadsThem)
{
    using P = ImportedProduct;
    const struct
    {
        QString line;
        char separator;
        bool first;
        std::optional<ImportedProduct> product;
    } cases[] = {
        {QStringLiteral("123;Milk;2.5;10"), ';', false, P{"123", "Milk", "2.5", "10"}},
        {QStringLiteral("123,Milk,2.5,10"), ',', false, P{"123", "Milk", "2.5", "10"}},
        {QStringLiteral("123,Milk,2.5,10"), ';', false, std::nullopt},
        // Three fields: the price has no separator after it, so it is read as the stock.
        {QStringLiteral("123;Milk;2.5"), ';', false, P{"123", "Milk", "0", "2.5"}},
        {QStringLiteral("123;Milk"), ';', false, std::nullopt},
        {QStringLiteral("123;Milk;;"), ';', false, P{"123", "Milk", "0", "0"}},
        {QStringLiteral("123;Milk; ;\t"), ';', false, P{"123", "Milk", "0", "0"}},
        {QStringLiteral("123;Milk;2.5;"), ';', false, P{"123", "Milk", "2.5", "0"}},
        {QStringLiteral("123;Milk;2.5;10;2024-05-01 10:00:00;more"), ';', false, P{"123", "Milk", "2.5", "10"}},
        {QStringLiteral(" 123 ; Milk ;2,5; 7"), ';', false, P{" 123 ", " Milk ", "2,5", " 7"}},
        {QStringLiteral("\"1\";\"Ab;c\";1;2"), ';', false, P{"\"1\"", "\"Ab", "c\"", "1"}},
        {QStringLiteral("O'Brien;Tea 'Earl';1;1"), ';', false, P{"O'Brien", "Tea 'Earl'", "1", "1"}},
        {QStringLiteral(" ;Milk;1;2"), ';', false, std::nullopt},
        {QStringLiteral(";Milk;1;2"), ';', false, std::nullopt},
        {QStringLiteral("123;  ;1;2"), ';', false, std::nullopt},
        {QString(), ';', false, std::nullopt},
        {QStringLiteral("Barcode;Product;Price;Stock;Datetime"), ';', true, std::nullopt},
        {QStringLiteral("Barcode;Product;Price;Stock;Datetime"), ';', false,
         P{"Barcode", "Product", "Price", "Stock"}},
        {QStringLiteral("barcode;Product;Price;Stock"), ';', true, P{"barcode", "Product", "Price", "Stock"}},
        {QStringLiteral("Barkod;\u00dcr\u00fcn;Fiyat;Stok"), ';', true, P{"Barkod", "\u00dcr\u00fcn", "Fiyat", "Stok"}},
        {QStringLiteral("1\0002;A\000B;1;2"), ';', false,
         P{QString::fromLatin1("1\0002", 3), QString::fromLatin1("A\000B", 3), "1", "2"}},
    };
    for (const auto& c : cases) {
        const auto product = ParseImportLine(c.line, QLatin1Char(c.separator), c.first);
        EXPECT_EQ(product, c.product) << c.line.toStdString() << " first=" << c.first;
    }
}

TEST(ReadImportFile, ReadsUtf8AnsiAndByteOrderMarks)
{
    QTemporaryDir folder;
    const QStringList expected{QStringLiteral("Barcode;Product;Price;Stock"),
                               QStringLiteral("1;Caf\u00e9 cr\u00e8me;2.50;3"), QStringLiteral("2;Na\u00efve;1;1"),
                               QString(), QStringLiteral("3;Ma\u00f1ana;1;1")};
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"windows-1252.csv", QByteArray("Barcode;Product;Price;Stock\r\n1;Caf\xE9 cr\xE8me;2.50;3\r\n"
                                        "2;Na\xEFve;1;1\r\n\r\n3;Ma\xF1" "ana;1;1\r\n")},
        {"utf8.csv", QByteArray("Barcode;Product;Price;Stock\n1;Caf\xC3\xA9 cr\xC3\xA8me;2.50;3\r"
                                "2;Na\xC3\xAFve;1;1\n\n3;Ma\xC3\xB1" "ana;1;1")},
        {"utf8-bom.csv", QByteArray("\xEF\xBB\xBF" "Barcode;Product;Price;Stock\r\n1;Caf\xC3\xA9 cr\xC3\xA8me;2.50;3"
                                    "\r\n2;Na\xC3\xAFve;1;1\r\n\r\n3;Ma\xC3\xB1" "ana;1;1\r\n")},
    };
    for (const auto& f : files) {
        QStringList lines{QStringLiteral("old")};
        ASSERT_TRUE(ReadImportFile(writeFile(folder, QLatin1String(f.name), f.bytes), 1252, lines)) << f.name;
        EXPECT_EQ(lines, expected) << f.name;
        // The header is recognised, so a byte-order mark never becomes part of the first barcode.
        EXPECT_FALSE(ParseImportLine(lines.first(), QLatin1Char(';'), true).has_value()) << f.name;
    }
}

TEST(ReadImportFile, ReportsAMissingFileAndCopesWithEmptyNulAndHugeFiles)
{
    QTemporaryDir folder;
    QStringList lines{QStringLiteral("old")};
    QString error;
    EXPECT_FALSE(ReadImportFile(folder.filePath(QStringLiteral("missing.csv")), 1252, lines, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(lines, QStringList{QStringLiteral("old")});

    ASSERT_TRUE(ReadImportFile(writeFile(folder, QStringLiteral("empty.csv"), QByteArray()), 1252, lines));
    EXPECT_TRUE(lines.isEmpty());

    ASSERT_TRUE(ReadImportFile(writeFile(folder, QStringLiteral("nul.csv"), QByteArray("1;A\0B;2;3\r\n", 11)), 1252,
                               lines));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(ParseImportLine(lines.first(), QLatin1Char(';'), true)->name, QString::fromLatin1("A\0B", 3));

    // One 50 MB line: split in one pass, nothing quadratic, nothing lost.
    const qsizetype nameSize = 50 * 1024 * 1024;
    QByteArray big("1;");
    big += QByteArray(nameSize, 'x');
    big += ";2;3";
    ASSERT_TRUE(ReadImportFile(writeFile(folder, QStringLiteral("big.csv"), big), 1252, lines));
    ASSERT_EQ(lines.size(), 1);
    const auto product = ParseImportLine(lines.first(), QLatin1Char(';'), true);
    ASSERT_TRUE(product.has_value());
    EXPECT_EQ(product->name.size(), nameSize);
    EXPECT_EQ(product->stock, QStringLiteral("3"));
}

} // namespace

#include "barcode/Code39.h"

#include <QImage>
#include <gtest/gtest.h>
#include <zbar.h>

#include <cstring>
#include <set>

namespace {

// Reads every Code 39 symbol in the picture with zbar, after adding a white quiet zone around it.
std::vector<std::string> decode(const QImage& picture, int quietZone)
{
    using namespace zbar;
    QImage padded(picture.width() + 2 * quietZone, picture.height() + 2 * quietZone, QImage::Format_Grayscale8);
    padded.fill(255);
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < gray.height(); ++y)
        std::memcpy(padded.scanLine(y + quietZone) + quietZone, gray.constScanLine(y), size_t(gray.width()));
    std::vector<uchar> pixels;
    for (int y = 0; y < padded.height(); ++y)
        pixels.insert(pixels.end(), padded.constScanLine(y), padded.constScanLine(y) + padded.width());

    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner, ZBAR_CODE39, ZBAR_CFG_ENABLE, 1);
    zbar_image_scanner_set_config(scanner, ZBAR_CODE39, ZBAR_CFG_MIN_LEN, 0);
    zbar_image_t* image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, unsigned(padded.width()), unsigned(padded.height()));
    zbar_image_set_data(image, pixels.data(), pixels.size(), nullptr);
    zbar_scan_image(scanner, image);
    std::vector<std::string> found;
    for (const zbar_symbol_t* symbol = zbar_image_first_symbol(image); symbol;
         symbol = zbar_symbol_next(symbol))
        if (zbar_symbol_get_type(symbol) == ZBAR_CODE39)
            found.emplace_back(zbar_symbol_get_data(symbol));
    zbar_image_destroy(image);
    zbar_image_scanner_destroy(scanner);
    return found;
}

// Widths of the alternating black and white runs of one row, starting at column 1.
std::vector<int> runs(const QImage& picture, int row)
{
    std::vector<int> out;
    bool black = true;
    int length = 0;
    for (int x = 1; x < picture.width(); ++x) {
        const bool pixelBlack = qGray(picture.pixel(x, row)) < 128;
        if (pixelBlack == black) {
            ++length;
        } else {
            out.push_back(length);
            black = pixelBlack;
            length = 1;
        }
    }
    out.push_back(length);
    return out;
}

TEST(Code39Table, HoldsTheFortyFourCharactersEachWithThreeWideOfNineElements)
{
    const auto& symbols = code39::Symbols();
    std::set<char> seen;
    for (const auto& symbol : symbols) {
        seen.insert(symbol.character);
        const std::string pattern = symbol.pattern;
        ASSERT_EQ(pattern.size(), 9u) << symbol.character;
        int wide = 0;
        for (size_t i = 0; i < pattern.size(); ++i) {
            const char c = pattern[i];
            EXPECT_TRUE(i % 2 == 0 ? (c == 'b' || c == 'B') : (c == 'w' || c == 'W')) << symbol.character;
            wide += (c == 'B' || c == 'W');
        }
        EXPECT_EQ(wide, 3) << symbol.character;
    }
    EXPECT_EQ(seen.size(), 44u);
    EXPECT_EQ(symbols.front().character, '0');
    EXPECT_EQ(symbols.back().character, '*');
    EXPECT_STREQ(code39::PatternFor(QLatin1Char(' ')), "bWBwbwBwb");
    EXPECT_EQ(code39::PatternFor(QLatin1Char('a')), nullptr);
}

struct SizeCase
{
    const char* text;
    int narrow;
    int wide;
};

TEST(Code39Drawing, PictureSizeFollowsTextLengthAndElementWidths)
{
    const SizeCase cases[] = {{"", 1, 2}, {"7", 1, 2}, {"HELLO-42", 1, 2}, {"abc", 2, 5}, {"X", 3, 3}, {"9.9", 4, 2}};
    for (const SizeCase& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const int expectedWidth = 1 + (int(text.size()) + 2) * (7 * c.narrow + 3 * c.wide);
        for (bool readable : {false, true}) {
            const code39::Drawing drawing = code39::Draw(text, c.narrow, c.wide, readable);
            ASSERT_TRUE(drawing.ok()) << c.text;
            const QSize expected(expectedWidth, 10 * c.wide + 1 + (readable ? 14 : 0));
            EXPECT_EQ(drawing.image.size(), expected) << c.text << " " << c.narrow << "/" << c.wide;
            EXPECT_EQ(code39::ImageSize(text.size(), c.narrow, c.wide, readable), expected);
        }
    }
}

TEST(Code39Drawing, BarsFillRowsOneToHeightLessOneAndLeaveTheEdgesWhite)
{
    const int narrow = 2;
    const int wide = 5;
    const QImage picture = code39::Draw(QStringLiteral("A1"), narrow, wide, false).image;
    const int barHeight = 10 * wide;
    for (int y = 0; y < picture.height(); ++y) {
        EXPECT_EQ(qGray(picture.pixel(0, y)), 255) << "left column, row " << y;
        for (int x = picture.width() - narrow; x < picture.width(); ++x)
            EXPECT_EQ(qGray(picture.pixel(x, y)), 255) << "final gap, row " << y;
    }
    for (int x = 0; x < picture.width(); ++x) {
        EXPECT_EQ(qGray(picture.pixel(x, 0)), 255) << "top row, column " << x;
        EXPECT_EQ(qGray(picture.pixel(x, barHeight)), 255) << "bottom row, column " << x;
        for (int y = 2; y < barHeight; ++y)
            ASSERT_EQ(picture.pixel(x, y), picture.pixel(x, 1)) << x << "," << y;
    }
    // "*" = bWbwBwBwb, then the narrow gap, then "A" = BwbwbWbwB.
    const std::vector<int> expected{2, 5, 2, 2, 5, 2, 5, 2, 2, 2, 5, 2, 2, 2, 2, 5, 2, 2, 5};
    const std::vector<int> row = runs(picture, 1);
    ASSERT_GE(row.size(), expected.size());
    EXPECT_EQ(std::vector<int>(row.begin(), row.begin() + long(expected.size())), expected);
}

TEST(Code39Drawing, ReadableTextIsBlackBelowTheBarsAndCentred)
{
    const code39::Drawing drawing = code39::Draw(QStringLiteral("abc"), 1, 2, true);
    ASSERT_TRUE(drawing.ok());
    const QImage& picture = drawing.image;
    int left = picture.width();
    int right = -1;
    for (int y = 21; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0) << "no text drawn";
    // Text starts at (width div 2) - 4 × 3 and is written in about 8 pixels a character.
    EXPECT_NEAR(left, picture.width() / 2 - 12, 3);
    EXPECT_NEAR(right, picture.width() / 2 + 12, 6);
}

TEST(Code39Drawing, ZbarReadsTheDrawnBarcodesBack)
{
    const struct
    {
        int narrow;
        int wide;
    } widths[] = {{1, 2}, {2, 5}};
    const struct
    {
        const char* text;
        const char* read;
    } texts[] = {
        {"0123456789", "0123456789"},
        {"ABCDEFGHIJKLM", "ABCDEFGHIJKLM"},
        {"NOPQRSTUVWXYZ", "NOPQRSTUVWXYZ"},
        {"a-b.c d$e/f+g%h", "A-B.C D$E/F+G%H"},
    };
    for (const auto& w : widths) {
        for (const auto& t : texts) {
            for (bool readable : {false, true}) {
                const code39::Drawing drawing =
                    code39::Draw(QString::fromLatin1(t.text), w.narrow, w.wide, readable);
                ASSERT_TRUE(drawing.ok());
                const auto found = decode(drawing.image, 10 * w.wide);
                ASSERT_EQ(found.size(), 1u) << t.text << " at " << w.narrow << "/" << w.wide;
                EXPECT_EQ(found.front(), t.read) << w.narrow << "/" << w.wide;
            }
        }
    }
}

TEST(Code39Drawing, CharactersOutsideTheTableAreReportedOneByOne)
{
    const struct
    {
        QString text;
        QString character;
    } cases[] = {
        {QStringLiteral("caf\u00e9"), QStringLiteral("\u00e9")},
        {QStringLiteral("A_B#"), QStringLiteral("_")},
        {QStringLiteral("tab\there"), QStringLiteral("\t")},
        {QStringLiteral("x\U0001F600"), QStringLiteral("\U0001F600")},
    };
    for (const auto& c : cases) {
        const code39::Drawing drawing = code39::Draw(c.text, 1, 2, false);
        EXPECT_EQ(drawing.status, code39::Drawing::Status::CannotEncode) << c.text.toStdString();
        EXPECT_EQ(drawing.character, c.character) << c.text.toStdString();
        EXPECT_TRUE(drawing.image.isNull());
    }
    EXPECT_EQ(code39::CannotEncodeMessage(QStringLiteral("\u00e9")), QStringLiteral("\"\u00e9\" cannot be encoded!"));
    // A typed "*" is drawn like the start and stop character.
    EXPECT_TRUE(code39::Draw(QStringLiteral("*1*"), 1, 2, false).ok());
}

TEST(Code39Drawing, PictureTooLargeToAllocateIsRefused)
{
    const code39::Drawing drawing = code39::Draw(QStringLiteral("1234567890"), 999999, 999999, true);
    EXPECT_EQ(drawing.status, code39::Drawing::Status::TooLarge);
    EXPECT_TRUE(drawing.image.isNull());
}

TEST(Code39Printing, ScaleIsTheWholeRatioOfPrinterToScreenResolution)
{
    const QSize picture(40, 21);
    EXPECT_EQ(code39::PrintRect(picture, 1200, 600, 96, 96), QRect(0, 0, 12 * 40, 6 * 21));
    EXPECT_EQ(code39::PrintRect(picture, 300, 300, 96, 96), QRect(0, 0, 3 * 40, 3 * 21));
    EXPECT_TRUE(code39::PrintRect(picture, 72, 72, 96, 96).isEmpty());
}

} // namespace

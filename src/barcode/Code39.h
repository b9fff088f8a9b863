#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace code39 {

// A character's nine elements, alternating bar and space and starting with a bar: "b" narrow bar, "B" wide
// bar, "w" narrow space, "W" wide space.
struct Symbol
{
    char character;
    const char* pattern;
};

// The 44 encodable characters: digits, letters, "-", ".", " ", "$", "/", "+", "%" and the start/stop "*".
const std::array<Symbol, 44>& Symbols();

// The pattern of a character, or nullptr when it cannot be encoded.
const char* PatternFor(QChar character);

// The text as it is encoded: ASCII letters upper-cased, other characters unchanged.
QString UpperCasedText(const QString& text);

// Picture size for a text of the given length, with or without the readable text underneath.
QSize ImageSize(qint64 textLength, int narrow, int wide, bool readableText);

struct Drawing
{
    enum class Status { Drawn, CannotEncode, TooLarge };
    Status status = Status::Drawn;
    QString character; // the first character that cannot be encoded
    QImage image;      // black on white; null unless drawn

    bool ok() const { return status == Status::Drawn; }
};

// Pictures beyond this many pixels are not drawn.
constexpr qint64 kMaxPixels = qint64(1) << 26;

// Draws "*" + text + "*": bars narrow and wide pixels wide and 10 × wide pixels tall below a white top row,
// one white column on the left and a narrow gap after each character. With readable text the upper-cased
// text is written below the bars, 14 more rows.
Drawing Draw(const QString& text, int narrow, int wide, bool readableText);

// The message for a character outside the table: "é" cannot be encoded!
QString CannotEncodeMessage(const QString& character);

// Where a picture lands on a printed page: each axis scaled by the whole number printer dpi / screen dpi
// (0 for a printer coarser than the screen), from the top-left corner.
QRect PrintRect(QSize image, int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY);

} // namespace code39

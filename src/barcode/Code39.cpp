#include "barcode/Code39.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace code39 {

namespace {

constexpr std::array<Symbol, 44> kSymbols{{
    {'0', "bwbWBwBwb"}, {'1', "BwbWbwbwB"}, {'2', "bwBWbwbwB"}, {'3', "BwBWbwbwb"}, {'4', "bwbWBwbwB"},
    {'5', "BwbWBwbwb"}, {'6', "bwBWBwbwb"}, {'7', "bwbWbwBwB"}, {'8', "BwbWbwBwb"}, {'9', "bwBWbwBwb"},
    {'A', "BwbwbWbwB"}, {'B', "bwBwbWbwB"}, {'C', "BwBwbWbwb"}, {'D', "bwbwBWbwB"}, {'E', "BwbwBWbwb"},
    {'F', "bwBwBWbwb"}, {'G', "bwbwbWBwB"}, {'H', "BwbwbWBwb"}, {'I', "bwBwbWBwb"}, {'J', "bwbwBWBwb"},
    {'K', "BwbwbwbWB"}, {'L', "bwBwbwbWB"}, {'M', "BwBwbwbWb"}, {'N', "bwbwBwbWB"}, {'O', "BwbwBwbWb"},
    {'P', "bwBwBwbWb"}, {'Q', "bwbwbwBWB"}, {'R', "BwbwbwBWb"}, {'S', "bwBwbwBWb"}, {'T', "bwbwBwBWb"},
    {'U', "BWbwbwbwB"}, {'V', "bWBwbwbwB"}, {'W', "BWBwbwbwb"}, {'X', "bWbwBwbwB"}, {'Y', "BWbwBwbwb"},
    {'Z', "bWBwBwbwb"}, {'-', "bWbwbwBwB"}, {'.', "BWbwbwBwb"}, {' ', "bWBwbwBwb"}, {'$', "bWbWbWbwb"},
    {'/', "bWbWbwbWb"}, {'+', "bWbwbWbWb"}, {'%', "bwbWbWbWb"}, {'*', "bWbwBwBwb"},
}};

// Rows of the readable text under the bars.
constexpr int kTextRows = 14;
// Pixels per inch the picture is drawn at (the screen's at the design resolution).
constexpr int kDpi = 96;

// The characters of a text, a surrogate pair kept together so it is reported as one character.
QStringList characters(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out << text.mid(i, 2);
            ++i;
        } else {
            out << text.mid(i, 1);
        }
    }
    return out;
}

void writeReadableText(QImage& image, const QString& text, int top, int right)
{
    // Written on a colour copy of the strip and then copied back in black and white.
    QImage strip(image.width(), image.height() - top, QImage::Format_RGB32);
    strip.setDotsPerMeterX(image.dotsPerMeterX());
    strip.setDotsPerMeterY(image.dotsPerMeterY());
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        QFont font(QStringLiteral("Fixedsys"));
        font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
        font.setPointSize(10);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        // Centred on the assumption that every character is 8 pixels wide.
        const int left = right / 2 - 4 * int(text.size());
        painter.drawText(QPoint(left, painter.fontMetrics().ascent()), text);
    }
    for (int y = 0; y < strip.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if (qGray(from[x]) < 128)
                image.setPixel(x, top + y, 1);
    }
}

} // namespace

const std::array<Symbol, 44>& Symbols()
{
    return kSymbols;
}

const char* PatternFor(QChar character)
{
    for (const Symbol& symbol : kSymbols)
        if (character.unicode() == uchar(symbol.character))
            return symbol.pattern;
    return nullptr;
}

QString UpperCasedText(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return upper;
}

QSize ImageSize(qint64 textLength, int narrow, int wide, bool readableText)
{
    const qint64 width = 1 + (textLength + 2) * (7 * qint64(narrow) + 3 * qint64(wide));
    const qint64 height = 10 * qint64(wide) + 1 + (readableText ? kTextRows : 0);
    constexpr qint64 limit = std::numeric_limits<int>::max();
    return QSize(int(std::min(width, limit)), int(std::min(height, limit)));
}

Drawing Draw(const QString& text, int narrow, int wide, bool readableText)
{
    Drawing drawing;
    narrow = std::max(narrow, 1);
    wide = std::max(wide, 1);
    const QString upper = UpperCasedText(text);
    const QStringList encoded = characters(QLatin1Char('*') + upper + QLatin1Char('*'));

    std::vector<const char*> patterns;
    patterns.reserve(encoded.size());
    for (const QString& character : encoded) {
        const char* pattern = character.size() == 1 ? PatternFor(character.at(0)) : nullptr;
        if (!pattern) {
            drawing.status = Drawing::Status::CannotEncode;
            drawing.character = character;
            return drawing;
        }
        patterns.push_back(pattern);
    }

    // Every pattern holds six narrow and three wide elements; the picture ends after the last narrow gap.
    const QSize size = ImageSize(qint64(encoded.size()) - 2, narrow, wide, readableText);
    if (size.width() >= std::numeric_limits<int>::max() || size.height() >= std::numeric_limits<int>::max()
        || qint64(size.width()) * size.height() > kMaxPixels) {
        drawing.status = Drawing::Status::TooLarge;
        return drawing;
    }

    QImage image(size, QImage::Format_Mono);
    if (image.isNull()) {
        drawing.status = Drawing::Status::TooLarge;
        return drawing;
    }
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    image.fill(0);

    // The bar rows are all alike: draw row 1, then copy it down to row H - 1.
    const int barHeight = 10 * wide;
    int x = 1;
    for (const char* pattern : patterns) {
        for (const char* element = pattern; *element; ++element) {
            const int width = (*element == 'b' || *element == 'w') ? narrow : wide;
            if (*element == 'b' || *element == 'B') {
                for (int i = 0; i < width; ++i)
                    image.setPixel(x + i, 1, 1);
            }
            x += width;
        }
        x += narrow;
    }
    const qsizetype rowBytes = image.bytesPerLine();
    for (int y = 2; y < barHeight; ++y)
        std::memcpy(image.scanLine(y), image.constScanLine(1), size_t(rowBytes));

    if (readableText)
        writeReadableText(image, upper, barHeight, x);

    drawing.image = image;
    return drawing;
}

QString CannotEncodeMessage(const QString& character)
{
    return QLatin1Char('"') + character + QStringLiteral("\" cannot be encoded!");
}

QRect PrintRect(QSize image, int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY)
{
    const int factorX = screenDpiX > 0 ? printerDpiX / screenDpiX : 0;
    const int factorY = screenDpiY > 0 ? printerDpiY / screenDpiY : 0;
    return QRect(0, 0, factorX * image.width(), factorY * image.height());
}

} // namespace code39

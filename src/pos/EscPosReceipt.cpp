#include "pos/EscPosReceipt.h"

#include "platform/Platform.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Code page -> ESC t table number, as Epson TM printers and the compatibles number them.
constexpr std::array<std::pair<int, int>, 19> kCharacterTables{{
    {437, 0},   // USA, standard Europe
    {737, 14},  // Greek
    {850, 2},   // Multilingual
    {852, 18},  // Latin 2
    {857, 13},  // Turkish
    {858, 19},  // 850 with the euro sign
    {860, 3},   // Portuguese
    {863, 4},   // Canadian-French
    {865, 5},   // Nordic
    {866, 17},  // Cyrillic #2
    {1250, 45}, // WPC1250 Central European
    {1251, 46}, // WPC1251 Cyrillic
    {1252, 16}, // WPC1252 Western
    {1253, 47}, // WPC1253 Greek
    {1254, 48}, // WPC1254 Turkish
    {1255, 49}, // WPC1255 Hebrew
    {1256, 50}, // WPC1256 Arabic
    {1257, 51}, // WPC1257 Baltic
    {1258, 52}, // WPC1258 Vietnamese
}};

constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
constexpr char LF = 0x0A;
// Feeds that carry the last line past the cutter.
constexpr int kFeedLines = 4;

// Blanks for tabs, '?' for other control characters.
QString PrintableLine(QString line)
{
    for (QChar& c : line) {
        if (c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    return line;
}

// One encoded line in pieces of at most `columns` bytes, broken after the last blank that fits where there is
// one; the blank at a break is dropped.
QList<QByteArray> WrapLine(QByteArray line, int columns)
{
    QList<QByteArray> pieces;
    while (line.size() > columns) {
        const qsizetype blank = line.lastIndexOf(' ', columns);
        if (blank > 0) {
            pieces << line.left(blank);
            line.remove(0, blank + 1);
        } else {
            pieces << line.left(columns);
            line.remove(0, columns);
        }
    }
    pieces << line;
    return pieces;
}

} // namespace

std::optional<int> EscPosCharacterTable(int codePage)
{
    for (const auto& [page, table] : kCharacterTables)
        if (page == codePage)
            return table;
    return std::nullopt;
}

QList<int> EscPosCodePages()
{
    QList<int> pages;
    for (const auto& entry : kCharacterTables)
        pages << entry.first;
    return pages;
}

QByteArray EscPosReceiptBytes(const QString& text, const EscPosFormat& format)
{
    const int columns = std::max(1, format.columns);
    QByteArray out;
    out += ESC;
    out += '@';
    out += ESC;
    out += 't';
    out += char(EscPosCharacterTable(format.codePage).value_or(0));

    for (const QString& line : SplitLines(text)) {
        for (const QByteArray& piece : WrapLine(platform::EncodeAnsi(PrintableLine(line), format.codePage), columns)) {
            out += piece;
            out += LF;
        }
    }
    out += QByteArray(kFeedLines, LF);
    if (format.cut) {
        out += GS;
        out += 'V';
        out += char(0);
    }
    return out;
}

QByteArray EscPosDrawerPulse()
{
    // Pin 2, on for 25 x 2 ms, off for 250 x 2 ms.
    return QByteArray("\x1B\x70\x00\x19\xFA", 5);
}

// Text files as every reader decodes them: byte-order marks, strict UTF-8, ANSI code pages, three line ends.
#include "FuzzSupport.h"

#include "platform/TextFile.h"

#include <iterator>

namespace {

// Single-byte code pages, the East Asian double-byte ones and one that iconv does not know.
constexpr int kCodePages[] = {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950, 4711};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const TextEncoding encoding = (data[0] & 1) ? TextEncoding::Ansi : TextEncoding::Utf8;
    const int codePage = kCodePages[(data[0] >> 1) % std::size(kCodePages)];
    const QByteArray bytes = fuzz::Bytes(data + 1, size - 1);

    QString text;
    if (!DecodeText(bytes, encoding, codePage, text)) {
        // Only strict decoding refuses: plain ANSI bytes are always read.
        FUZZ_CHECK(encoding == TextEncoding::Utf8 || bytes.startsWith("\xEF\xBB\xBF")
                   || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"));
        return 0;
    }
    const QStringList lines = SplitLines(text);
    for (const QString& line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));

    // The lines written as the program writes text files read back as the same lines.
    QString again;
    FUZZ_CHECK(DecodeText(Utf8CrLfLines(lines, true), TextEncoding::Utf8, 1252, again));
    FUZZ_CHECK(SplitLines(again) == lines);
    return 0;
}

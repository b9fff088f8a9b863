// A product import file: decoded once, then each line split as the import does.
#include "FuzzSupport.h"

#include "platform/TextFile.h"
#include "reports/ProductImportFile.h"

namespace {

bool isBlank(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x20)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    static const QString path = fuzz::TempFolder() + QStringLiteral("/products.csv");
    fuzz::WriteFile(path, bytes);

    for (const int codePage : {1252, 1254}) {
        QStringList lines;
        QString error;
        const bool read = ReadImportFile(path, codePage, lines, &error);
        // Anything that decodes as UTF-8 or in the code page is read; only a byte-order mark can refuse.
        QString text;
        FUZZ_CHECK(read == DecodeText(bytes, TextEncoding::Ansi, codePage, text));
        FUZZ_CHECK(read || !error.isEmpty());
        if (!read)
            continue;
        // UTF-8 comes first: valid UTF-8 is never read in the code page.
        if (DecodeText(bytes, TextEncoding::Utf8, codePage, text))
            FUZZ_CHECK(lines == SplitLines(text));
        qsizetype n = 0;
        for (const QString& line : std::as_const(lines)) {
            FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
            for (const QChar separator : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')}) {
                const auto product = ParseImportLine(line, separator, n == 0);
                if (!product)
                    continue;
                FUZZ_CHECK(!isBlank(product->barcode) && !isBlank(product->name));
                FUZZ_CHECK(!product->price.isEmpty() && !product->stock.isEmpty());
                FUZZ_CHECK(!product->barcode.contains(separator) && !product->name.contains(separator)
                           && !product->price.contains(separator) && !product->stock.contains(separator));
                FUZZ_CHECK(n != 0 || product->barcode != QLatin1String("Barcode"));
            }
            if (++n == 2000)
                break;
        }
    }
    return 0;
}

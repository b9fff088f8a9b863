// The Code 39 drawing of any text, with small element widths (the generator's boxes allow far larger ones; the
// size limit itself is a unit test).
#include "FuzzSupport.h"

#include "barcode/Code39.h"

#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // Widths from -2 up, so that zero and negative widths are tried too.
    const int narrow = int(data[0] & 7) - 2;
    const int wide = int(data[1] & 15) - 2;
    const bool readable = (data[0] & 0x80) != 0;
    const QString text = QString::fromUtf8(fuzz::Bytes(data + 2, size - 2)).left(48);

    const code39::Drawing drawing = code39::Draw(text, narrow, wide, readable);
    switch (drawing.status) {
    case code39::Drawing::Status::Drawn:
        FUZZ_CHECK(!drawing.image.isNull());
        FUZZ_CHECK(drawing.image.size()
                   == code39::ImageSize(text.size(), std::max(narrow, 1), std::max(wide, 1), readable));
        for (const QChar c : code39::UpperCasedText(text))
            FUZZ_CHECK(code39::PatternFor(c) != nullptr);
        break;
    case code39::Drawing::Status::CannotEncode:
        FUZZ_CHECK(drawing.image.isNull() && !drawing.character.isEmpty());
        FUZZ_CHECK(drawing.character.size() > 1 || !code39::PatternFor(drawing.character.at(0)));
        code39::CannotEncodeMessage(drawing.character);
        break;
    case code39::Drawing::Status::TooLarge:
        FUZZ_CHECK(!"a small barcode refused as too large");
    }
    return 0;
}

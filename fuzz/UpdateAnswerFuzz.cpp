// The update check's answer: its first line names the version, its second the download address.
#include "FuzzSupport.h"

#include "online/UpdateCheck.h"
#include "platform/TextFile.h"

namespace {

void checkTagged(const QString& line, const QString& tag)
{
    const QString value = TaggedValue(line, tag);
    if (!value.isEmpty())
        FUZZ_CHECK(line == QLatin1Char('<') + tag + QLatin1Char('>') + value + QStringLiteral("</") + tag
                               + QLatin1Char('>'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The answer arrives as bytes and is taken as UTF-8, as the form post does.
    const QString body = QString::fromUtf8(fuzz::Bytes(data, size));
    const QStringList lines = SplitLines(body);
    if (lines.size() > 0)
        checkTagged(lines[0], QStringLiteral("version"));
    if (lines.size() > 1)
        checkTagged(lines[1], QStringLiteral("url"));
    // Any tag at all: the first line names it, the second is read.
    if (lines.size() > 1)
        checkTagged(lines[1], lines[0]);
    return 0;
}

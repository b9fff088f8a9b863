#include "reports/ProductImportFile.h"

#include "platform/TextFile.h"

#include <QFile>

namespace {

// Blanks as the import understands them: every character up to and including the space.
bool isBlank(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() > 0x20)
            return false;
    return true;
}

// The field before the next separator (empty when there is none), and the rest after that separator (all of
// it when there is none).
QStringView takeField(QStringView& rest, QChar separator)
{
    const qsizetype at = rest.indexOf(separator);
    if (at < 0)
        return {};
    const QStringView field = rest.left(at);
    rest = rest.mid(at + 1);
    return field;
}

} // namespace

std::optional<ImportedProduct> ParseImportLine(QStringView line, QChar separator, bool isFirstLine)
{
    QStringView rest = line;
    const QStringView barcode = takeField(rest, separator);
    const QStringView name = takeField(rest, separator);
    const QStringView price = takeField(rest, separator);
    const qsizetype stockEnd = rest.indexOf(separator);
    const QStringView stock = stockEnd < 0 ? rest : rest.left(stockEnd);

    if (isFirstLine && barcode == QLatin1String("Barcode"))
        return std::nullopt;
    if (isBlank(barcode) || isBlank(name))
        return std::nullopt;

    const QString zero(QLatin1Char('0'));
    return ImportedProduct{barcode.toString(), name.toString(), isBlank(price) ? zero : price.toString(),
                           isBlank(stock) ? zero : stock.toString()};
}

bool ReadImportFile(const QString& path, int ansiCodePage, QStringList& lines, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QString text;
    if (!DecodeText(bytes, TextEncoding::Utf8, ansiCodePage, text)
        && !DecodeText(bytes, TextEncoding::Ansi, ansiCodePage, text)) {
        if (error)
            *error = QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page");
        return false;
    }
    lines = SplitLines(text);
    return true;
}

#include "reports/ProductImportFile.h"

#include "platform/TextFile.h"


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
    return LoadLinesUtf8OrAnsi(path, ansiCodePage, lines, error);
}

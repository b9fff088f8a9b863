// A receipt template file (PrintTemplate.txt) rendered for a sale. Bytes after the first NUL, if any, are the
// sale's list text (product names come from the database and so from imports too).
#include "FuzzSupport.h"

#include "platform/TextFile.h"
#include "pos/Receipt.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray templateBytes = nul < 0 ? bytes : bytes.left(nul);
    const QString listText = nul < 0 ? QStringLiteral("Tea (12.50) * 2\r\nMilk [Total] (0.99) * 1")
                                     : QString::fromUtf8(bytes.mid(nul + 1));

    // Read as the main window reads the template file.
    static const QString path = fuzz::TempFolder() + QStringLiteral("/PrintTemplate.txt");
    fuzz::WriteFile(path, templateBytes);
    QStringList templateLines;
    if (!LoadLinesUtf8OrAnsi(path, 1254, templateLines) || templateLines.isEmpty())
        templateLines = QStringList{QStringLiteral("[LIST]"), QStringLiteral("[TOTAL]")};
    const QString templateText = ReceiptTemplateText(templateLines);

    const QDateTime when(QDate(2025, 1, 31), QTime(14, 5, 9));
    const QString receipt = RenderReceipt(templateText, QStringLiteral("12"), listText, 25.99, when,
                                          QStringLiteral("$"), QStringLiteral("dd.MM.yyyy"),
                                          QStringLiteral("HH:mm:ss"));
    // The last placeholder replaced leaves none of its kind behind.
    FUZZ_CHECK(!receipt.contains(QStringLiteral("[TIME]"), Qt::CaseInsensitive));

    // The receipt file holds the receipt's lines.
    QString again;
    FUZZ_CHECK(DecodeText(ReceiptFileBytes(receipt), TextEncoding::Utf8, 1252, again));
    FUZZ_CHECK(SplitLines(again) == SplitLines(receipt));
    return 0;
}

#include "reports/RecordTexts.h"

#include "i18n/Translator.h"
#include "pos/Money.h"
#include "pos/MoneyAmount.h"
#include "pos/Receipt.h"
#include "pos/TenderTexts.h"
#include "reports/SalesHistory.h"

#include <QStringList>

QString RecordReceiptText(const std::optional<qint64>& receiptNumber)
{
    return receiptNumber ? QString::number(*receiptNumber) : QStringLiteral("-");
}

QString RecordKindCaption(SaleRecordKind kind)
{
    switch (kind) {
    case SaleRecordKind::Sale: return TranslateText("Sale");
    case SaleRecordKind::Settlement: return TranslateText("Settlement");
    case SaleRecordKind::Refund: return TranslateText("Refund");
    }
    return QString();
}

QString RecordOriginalText(const SaleRecordRow& record, const std::optional<qint64>& originalReceiptNumber)
{
    if (record.unreferenced)
        return TranslateText("Unreferenced");
    return record.originalSaleId.isEmpty() ? QString() : RecordReceiptText(originalReceiptNumber);
}

QString RecordTendersText(const std::vector<TenderRow>& tenders,
                          const std::function<QString(const QString& code)>& typeName)
{
    QStringList parts;
    for (const TenderRow& tender : tenders)
        parts << typeName(tender.type) + QLatin1Char(' ') + CentsText(tender.amountCents);
    return parts.join(QStringLiteral(" + "));
}

std::vector<QString> RecordLineCells(const std::vector<RecordLine>& lines)
{
    std::vector<QString> cells;
    cells.reserve(lines.size() * kRecordLineColumns);
    for (const RecordLine& line : lines) {
        const double price = line.price.asDouble();
        cells.insert(cells.end(), {line.barcode, line.name, MoneyText(price), line.quantity.asText(),
                                   MoneyText(price * line.quantity.asDouble())});
    }
    return cells;
}

std::vector<QString> RecordLineCellsWithRefunded(const std::vector<RecordLine>& lines,
                                                 const std::vector<qint64>& refunded)
{
    const std::vector<QString> plain = RecordLineCells(lines);
    const bool matched = refunded.size() == lines.size();
    std::vector<QString> cells;
    cells.reserve(lines.size() * kRecordLineColumnsWithRefunded);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto first = plain.begin() + qsizetype(i * kRecordLineColumns);
        cells.insert(cells.end(), first, first + kRecordLineColumns);
        cells.push_back(matched ? QString::number(refunded[i]) : QString());
    }
    return cells;
}

QString RenderRecordReprint(const QString& templateText, const SaleRecordRow& record,
                            const std::vector<RecordLine>& lines, const std::vector<TenderRow>& tenders,
                            const ReprintFormat& format, const QString& originalReceiptNoText)
{
    QStringList list;
    for (const RecordLine& line : lines)
        list << ReceiptListLine(line.name, MoneyText(line.price.asDouble()), line.quantity.asText());
    return RenderReceipt(templateText, RecordReceiptText(record.receiptNumber), list.join(QStringLiteral("\r\n")),
                         MoneyAmount::fromCents(record.totalCents).value(), StoredDateTime(record.recordedAt),
                         format.currencySymbol, format.shortDateFormat, format.longTimeFormat,
                         TendersReceiptText(tenders, format.currencySymbol), record.saleId, originalReceiptNoText);
}

#include "pos/Receipt.h"

#include "platform/TextFile.h"
#include "pos/Money.h"

QString ReceiptTemplateText(const QStringList& templateLines)
{
    QString text;
    for (const QString& line : templateLines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString ReceiptListLine(const QString& name, const QString& unitPriceText, qint64 quantity)
{
    return ReceiptListLine(name, unitPriceText, QString::number(quantity));
}

QString ReceiptListLine(const QString& name, const QString& unitPriceText, const QString& quantityText)
{
    return name + QStringLiteral(" (") + unitPriceText + QStringLiteral(") * ") + quantityText;
}

QString RenderReceipt(const QString& templateText, const QString& receiptNoText, const QString& listText,
                      double total, const QDateTime& dateTime, const QString& currencySymbol,
                      const QString& shortDateFormat, const QString& longTimeFormat, const QString& tendersText,
                      const QString& saleId, const QString& originalReceiptNoText)
{
    const QString date = dateTime.date().toString(shortDateFormat);
    const QString time = dateTime.time().toString(longTimeFormat);
    QString text = templateText;
    text.replace(QStringLiteral("[RECEIPTNO]"), receiptNoText, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[LIST]"), listText, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[TOTAL]"), MoneyWithSymbol(currencySymbol, total), Qt::CaseInsensitive);
    text.replace(QStringLiteral("[DATETIME]"), date + QLatin1Char(' ') + time, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[DATE]"), date, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[TIME]"), time, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[TENDERS]"), tendersText, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[SALEID]"), saleId, Qt::CaseInsensitive);
    text.replace(QStringLiteral("[ORIGINALRECEIPTNO]"), originalReceiptNoText, Qt::CaseInsensitive);
    return text;
}

QString ReceiptFilePath(const QString& folder, qint64 receiptNumber)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QString::number(receiptNumber) + QStringLiteral(".txt");
}

QByteArray ReceiptFileBytes(const QString& text)
{
    return Utf8CrLfLines(SplitLines(text), true);
}

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Receipts: the template with its placeholders, the list lines, the receipt file's name and bytes.

// The template lines as one text, each line followed by CR LF.
QString ReceiptTemplateText(const QStringList& templateLines);

// One line of the list: name + " (" + unit price text + ") * " + quantity.
QString ReceiptListLine(const QString& name, const QString& unitPriceText, qint64 quantity);
QString ReceiptListLine(const QString& name, const QString& unitPriceText, const QString& quantityText);

// Replaces, in this order and without regard to letter case, "[RECEIPTNO]", "[LIST]", "[TOTAL]" (symbol, a
// blank and the money text of the total), "[DATETIME]", "[DATE]", "[TIME]", "[TENDERS]" (how the sale was paid,
// TendersReceiptText), "[SALEID]" (its record's id) and "[ORIGINALRECEIPTNO]" (on a refund's receipt, the number of
// the receipt it gives back; empty otherwise). Each replacement runs over the result of the previous one.
// Date and time use the given Qt formats.
QString RenderReceipt(const QString& templateText, const QString& receiptNoText, const QString& listText,
                      double total, const QDateTime& dateTime, const QString& currencySymbol,
                      const QString& shortDateFormat, const QString& longTimeFormat,
                      const QString& tendersText = QString(), const QString& saleId = QString(),
                      const QString& originalReceiptNoText = QString());

// <folder>/<number>.txt
QString ReceiptFilePath(const QString& folder, qint64 receiptNumber);

// The file's bytes: the text split at CR LF, CR or LF, each line followed by CR LF, UTF-8 with a byte-order mark.
QByteArray ReceiptFileBytes(const QString& text);

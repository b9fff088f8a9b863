#pragma once

#include "store/SaleRecordsTable.h"
#include "store/TendersTable.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct ReprintFormat;

// The texts of a sale record in the receipts list, its export and its reprint.

// The receipt number, or "-" for a record that used none.
QString RecordReceiptText(const std::optional<qint64>& receiptNumber);
// What a record is, as the user reads it ("Sale", "Settlement", "Refund", translated).
QString RecordKindCaption(SaleRecordKind kind);
// The receipt a refund gives back: its number ("-" without one), or "Unreferenced" (translated) for a refund made
// without a receipt; empty for any other record.
QString RecordOriginalText(const SaleRecordRow& record, const std::optional<qint64>& originalReceiptNumber);
// The tenders in their order, each its type's name and amount: "Cash 12.50 + Card 3.00". The name is the type's
// caption in the list, its code in a file.
QString RecordTendersText(const std::vector<TenderRow>& tenders,
                          const std::function<QString(const QString& code)>& typeName);

// The lines list of a record: barcode, product, price, quantity and line total, row after row.
inline constexpr int kRecordLineColumns = 5;
std::vector<QString> RecordLineCells(const std::vector<RecordLine>& lines);
// The same with a sixth column, what refunds gave back of each line: refunded[i] for lines[i], empty cells when
// refunded does not match the lines (a record that is no sale).
inline constexpr int kRecordLineColumnsWithRefunded = kRecordLineColumns + 1;
std::vector<QString> RecordLineCellsWithRefunded(const std::vector<RecordLine>& lines,
                                                 const std::vector<qint64>& refunded);

// The record's receipt printed again through the shop's template: its receipt number ("-" without one), its lines
// as the checkout lists them, its total, time, tenders and sale id, and for a refund the number of the receipt it
// gives back (the original's text, RecordOriginalText, empty for a refund without a receipt). Raises AppError when
// its stored time cannot be read as a date-time.
QString RenderRecordReprint(const QString& templateText, const SaleRecordRow& record,
                            const std::vector<RecordLine>& lines, const std::vector<TenderRow>& tenders,
                            const ReprintFormat& format, const QString& originalReceiptNoText = QString());

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
// What a record is, as the user reads it ("Sale", "Settlement", translated).
QString RecordKindCaption(SaleRecordKind kind);
// The tenders in their order, each its type's name and amount: "Cash 12.50 + Card 3.00". The name is the type's
// caption in the list, its code in a file.
QString RecordTendersText(const std::vector<TenderRow>& tenders,
                          const std::function<QString(const QString& code)>& typeName);

// The lines list of a record: barcode, product, price, quantity and line total, row after row.
inline constexpr int kRecordLineColumns = 5;
std::vector<QString> RecordLineCells(const std::vector<RecordLine>& lines);

// The record's receipt printed again through the shop's template: its receipt number ("-" without one), its lines
// as the checkout lists them, its total, time, tenders and sale id. Raises AppError when its stored time cannot be
// read as a date-time.
QString RenderRecordReprint(const QString& templateText, const SaleRecordRow& record,
                            const std::vector<RecordLine>& lines, const std::vector<TenderRow>& tenders,
                            const ReprintFormat& format);

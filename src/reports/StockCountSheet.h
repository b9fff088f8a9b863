#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class Database;
class LongTaskProgress;
class TextTableModel;

// The stock count sheet: every product, most stocked first, as five cells per row: barcode, product, price (see
// ReportAmountText; "0" when the stored price is not a number), stock and record date as stored. False with the
// engine's message when the query failed. With a progress, each product is a step; a cancel stops with no rows
// and no message.
bool LoadStockSheet(Database& db, std::vector<QString>& cells, QString* error = nullptr,
                    LongTaskProgress* progress = nullptr);

// Compares texts ignoring the case of the letters A to Z and otherwise by character code, so numbers compare as
// text (10 before 9). Negative, zero or positive.
int CompareSheetText(const QString& a, const QString& b);

// Sorts the sheet's rows by one column with CompareSheetText, reversed when descending.
void SortStockSheet(TextTableModel& model, int column, bool descending);

// The seven CSV fields of a sheet row: barcode, product, price, stock, the whole date text, its date part and its
// time part.
QStringList StockSheetCsvFields(const QStringList& row);

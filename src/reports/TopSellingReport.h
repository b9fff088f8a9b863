#pragma once

#include <QDate>
#include <QString>

#include <vector>

class Database;
class DbValue;
class LongTaskProgress;

enum class TopSellingRanking { Quantity, Amount };

// The amount column: the stored sum read as a number and shown with ReportAmountText; "0" when it cannot be
// read (no amount at all, for example).
QString TopSellingAmountText(const DbValue& value);

// The paid lines (odemeler) from the begin date to the end date, compared as text with the stored date-times (so
// the end date itself only counts up to its midnight), one row per barcode, ranked. Each row gives four cells:
// barcode, product, units, amount. False when the query failed; the database has reported it. With a progress,
// each row is a step; a cancel stops with no rows.
bool LoadTopSelling(Database& db, const QDate& begin, const QDate& end, TopSellingRanking ranking,
                    std::vector<QString>& cells, LongTaskProgress* progress = nullptr);

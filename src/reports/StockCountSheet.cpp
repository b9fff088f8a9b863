#include "reports/StockCountSheet.h"

#include "core/LongTaskProgress.h"
#include "reports/CsvFile.h"
#include "reports/ReportNumber.h"
#include "reports/TextTableModel.h"
#include "store/ProductsTable.h"

bool LoadStockSheet(Database& db, std::vector<QString>& cells, QString* error, LongTaskProgress* progress)
{
    cells.clear();
    if (progress)
        progress->setTotal(qMax<qint64>(0, ProductsTable(db).rowCount()));
    Statement statement = ProductsTable(db).stockSheetRows();
    if (!statement.isValid())
        return false; // reported by prepare
    while (statement.next()) {
        if (progress) {
            if (progress->cancelled()) {
                cells.clear();
                return false;
            }
            progress->advance();
        }
        cells.push_back(statement.text(0));
        cells.push_back(statement.text(1));
        double price = 0;
        cells.push_back(ReportNumberOf(statement.value(2), price) ? ReportAmountText(price) : QStringLiteral("0"));
        cells.push_back(statement.text(3));
        cells.push_back(statement.text(4));
    }
    if (!statement.error().isEmpty()) {
        cells.clear();
        if (progress && progress->cancelled())
            return false; // interrupted on request
        if (error)
            *error = statement.error();
        return false;
    }
    return true;
}

int CompareSheetText(const QString& a, const QString& b)
{
    const auto fold = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
    };
    const qsizetype length = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t x = fold(a.at(i));
        const char16_t y = fold(b.at(i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void SortStockSheet(TextTableModel& model, int column, bool descending)
{
    model.sortRows([&model, column, descending](int x, int y) {
        const int order = CompareSheetText(model.text(x, column), model.text(y, column));
        return descending ? order > 0 : order < 0;
    });
}

QStringList StockSheetCsvFields(const QStringList& row)
{
    const QString& dateTime = row.at(4);
    const DateTimeParts parts = SplitDateTime(dateTime);
    return {row.at(0), row.at(1), row.at(2), row.at(3), dateTime, parts.date, parts.time};
}

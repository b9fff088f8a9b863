#include "reports/TableExport.h"

#include "core/LongTaskProgress.h"
#include "reports/CsvFile.h"
#include "pos/Money.h"
#include "store/CreditLinesTable.h"
#include "store/CustomersTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"

#include <QMetaType>

#include <optional>

namespace {

// A stored price as a number. NULL reads 0; text that is not a number is an error, as it would be for the
// runtime's own conversion.
std::optional<double> priceOf(const DbValue& value, QString& error)
{
    const QVariant& raw = value.raw();
    const int type = raw.typeId();
    if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        const QString text = raw.toString();
        bool ok = false;
        const double number = text.trimmed().toDouble(&ok);
        if (!ok) {
            error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
            return std::nullopt;
        }
        return number;
    }
    return value.asDouble();
}

// One row of a walked statement, read by column name.
class ExportRow
{
public:
    explicit ExportRow(const Statement& statement) : m_statement(statement)
    {
        for (int c = 0; c < statement.columnCount(); ++c)
            m_columns.emplace_back(statement.columnName(c));
    }
    DbValue value(const QString& column) const { return m_statement.value(indexOf(column)); }
    QString text(const QString& column) const { return value(column).asText(); }

private:
    int indexOf(const QString& column) const
    {
        for (size_t c = 0; c < m_columns.size(); ++c)
            if (m_columns[c] == column)
                return int(c);
        return -1;
    }
    const Statement& m_statement;
    std::vector<QString> m_columns;
};

class TableExporter
{
public:
    TableExporter(Database& db, QChar separator, LongTaskProgress* progress)
        : m_db(db), m_separator(separator), m_progress(progress)
    {
    }

    // Walks the query once, writing a line per row through the row function; false stops the export. The
    // target is replaced only when every row was read and written.
    template <typename RowFunction>
    CsvExportResult run(Statement statement, qint64 rowTotal, const QStringList& header, const QString& path,
                        RowFunction rowFields)
    {
        CsvExportResult result;
        if (!statement.isValid()) {
            result.status = CsvExportResult::Status::QueryFailed;
            return result;
        }
        if (m_progress)
            m_progress->setTotal(qMax<qint64>(0, rowTotal));
        CsvExportFile file(path, m_separator, CsvWriter::Quoting::None);
        if (!file.open(result) || !file.addLine(header, result))
            return result;
        const ExportRow row(statement);
        QStringList fields;
        int count = 0;
        while (statement.next()) {
            if (m_progress) {
                if (m_progress->cancelled()) {
                    result.status = CsvExportResult::Status::Cancelled;
                    return result;
                }
                m_progress->advance();
            }
            fields.clear();
            QString error;
            if (!rowFields(row, fields, error)) {
                result.status = CsvExportResult::Status::BadValue;
                result.message = error;
                return result;
            }
            if (!file.addLine(fields, result))
                return result;
            ++count;
        }
        if (!statement.error().isEmpty()) {
            m_db.reportError(statement.error());
            result.status = CsvExportResult::Status::QueryFailed;
            result.message = statement.error();
            return result;
        }
        result.rows = count;
        file.commit(result);
        return result;
    }

private:
    Database& m_db;
    QChar m_separator;
    LongTaskProgress* m_progress;
};

} // namespace

CsvExportResult ExportProductsCsv(Database& db, QChar separator, const QString& path, LongTaskProgress* progress)
{
    const QStringList header{QStringLiteral("Barcode"), QStringLiteral("Product"), QStringLiteral("Price"),
                             QStringLiteral("Stock"), QStringLiteral("Datetime")};
    return TableExporter(db, separator, progress)
        .run(ProductsTable(db).allRows(), ProductsTable(db).rowCount(), header, path,
             [](const ExportRow& r, QStringList& fields, QString& error) {
                 const auto price = priceOf(r.value(QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 fields << r.text(QStringLiteral("barkod")) << r.text(QStringLiteral("urunadi"))
                        << MoneyText(*price) << r.text(QStringLiteral("stok"))
                        << r.text(QStringLiteral("kayittarihi"));
                 return true;
             });
}

CsvExportResult ExportCustomersCsv(Database& db, QChar separator, const QString& path, LongTaskProgress* progress)
{
    const QStringList header{QStringLiteral("ID"), QStringLiteral("Customer"), QStringLiteral("Datetime"),
                             QStringLiteral("Date"), QStringLiteral("Time")};
    return TableExporter(db, separator, progress)
        .run(CustomersTable(db).allRows(), CustomersTable(db).rowCount(), header, path,
             [](const ExportRow& r, QStringList& fields, QString&) {
                 const QString registered = r.text(QStringLiteral("kayittarihi"));
                 const DateTimeParts parts = SplitDateTime(registered);
                 fields << r.text(QStringLiteral("id")) << r.text(QStringLiteral("musteriadi"))
                        << registered << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportPaymentsCsv(Database& db, QChar separator, const QString& path, LongTaskProgress* progress)
{
    const QStringList header{QStringLiteral("ID"),   QStringLiteral("Barcode"),  QStringLiteral("Product"),
                             QStringLiteral("Price"), QStringLiteral("Unit"),    QStringLiteral("Datetime"),
                             QStringLiteral("Date"), QStringLiteral("Time")};
    return TableExporter(db, separator, progress)
        .run(PaymentsTable(db).allRows(), PaymentsTable(db).rowCount(), header, path,
             [](const ExportRow& r, QStringList& fields, QString& error) {
                 const auto price = priceOf(r.value(QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 const QString paidAt = r.text(QStringLiteral("odemetarihi"));
                 const DateTimeParts parts = SplitDateTime(paidAt);
                 fields << r.text(QStringLiteral("id")) << r.text(QStringLiteral("barkod"))
                        << r.text(QStringLiteral("urunadi")) << MoneyText(*price)
                        << r.text(QStringLiteral("adet")) << paidAt << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportCreditsCsv(Database& db, QChar separator, const QString& paidWord, const QString& path,
                                 LongTaskProgress* progress)
{
    const QStringList header{QStringLiteral("ID"),       QStringLiteral("Customer"), QStringLiteral("Barcode"),
                             QStringLiteral("Product"),  QStringLiteral("Price"),    QStringLiteral("Quantity"),
                             QStringLiteral("Total"),    QStringLiteral("Paid"),     QStringLiteral("Datetime"),
                             QStringLiteral("Date"),     QStringLiteral("Time")};
    return TableExporter(db, separator, progress)
        .run(CreditLinesTable(db).allRows(), CreditLinesTable(db).rowCount(), header, path,
             [&paidWord](const ExportRow& r, QStringList& fields, QString& error) {
                 const auto price = priceOf(r.value(QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 const DbValue& quantity = r.value(QStringLiteral("adet"));
                 const QString registered = r.text(QStringLiteral("kayittarihi"));
                 const DateTimeParts parts = SplitDateTime(registered);
                 const bool open = r.text(QStringLiteral("odendimi")) == QLatin1String("0");
                 fields << r.text(QStringLiteral("id")) << r.text(QStringLiteral("musteriadi"))
                        << r.text(QStringLiteral("barkod")) << r.text(QStringLiteral("urunadi"))
                        << MoneyText(*price) << quantity.asText()
                        << MoneyText(*price * quantity.asDouble())
                        << (open ? QStringLiteral("-") : paidWord) << registered << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportTableCsv(Database& db, DataTable table, QChar separator, const QString& paidWord,
                               const QString& path, LongTaskProgress* progress)
{
    switch (table) {
    case DataTable::Products: return ExportProductsCsv(db, separator, path, progress);
    case DataTable::Customers: return ExportCustomersCsv(db, separator, path, progress);
    case DataTable::Payments: return ExportPaymentsCsv(db, separator, path, progress);
    case DataTable::Credits: return ExportCreditsCsv(db, separator, paidWord, path, progress);
    }
    return {};
}

#include "reports/TableExport.h"

#include "reports/CsvFile.h"
#include "pos/Money.h"
#include "store/Database.h"

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

class TableExporter
{
public:
    TableExporter(Database& db, QChar separator) : m_db(db), m_writer(separator, CsvWriter::Quoting::None) {}

    // Runs the query and writes a line per row through the row function; false stops the export.
    template <typename RowFunction>
    CsvExportResult run(const QString& sql, const QStringList& header, const QString& path, RowFunction rowFields)
    {
        CsvExportResult result;
        const QueryResult rows = m_db.Query(sql);
        if (!rows.ok) {
            result.status = CsvExportResult::Status::QueryFailed;
            result.message = rows.error;
            return result;
        }
        m_writer.addLine(header);
        for (size_t row = 0; row < rows.size(); ++row) {
            QStringList fields;
            QString error;
            if (!rowFields(rows, row, fields, error)) {
                result.status = CsvExportResult::Status::BadValue;
                result.message = error;
                return result;
            }
            m_writer.addLine(fields);
        }
        result.rows = int(rows.size());
        QString error;
        if (!m_writer.save(path, &error)) {
            result.status = CsvExportResult::Status::WriteFailed;
            result.message = error;
        }
        return result;
    }

private:
    Database& m_db;
    CsvWriter m_writer;
};

} // namespace

CsvExportResult ExportProductsCsv(Database& db, QChar separator, const QString& path)
{
    const QStringList header{QStringLiteral("Barcode"), QStringLiteral("Product"), QStringLiteral("Price"),
                             QStringLiteral("Stock"), QStringLiteral("Datetime")};
    return TableExporter(db, separator)
        .run(QStringLiteral("SELECT * FROM urunler order by id;"), header, path,
             [](const QueryResult& rows, size_t row, QStringList& fields, QString& error) {
                 const auto price = priceOf(rows.value(row, QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 fields << rows.text(row, QStringLiteral("barkod")) << rows.text(row, QStringLiteral("urunadi"))
                        << MoneyText(*price) << rows.text(row, QStringLiteral("stok"))
                        << rows.text(row, QStringLiteral("kayittarihi"));
                 return true;
             });
}

CsvExportResult ExportCustomersCsv(Database& db, QChar separator, const QString& path)
{
    const QStringList header{QStringLiteral("ID"), QStringLiteral("Customer"), QStringLiteral("Datetime"),
                             QStringLiteral("Date"), QStringLiteral("Time")};
    return TableExporter(db, separator)
        .run(QStringLiteral("SELECT * FROM musteriler order by id;"), header, path,
             [](const QueryResult& rows, size_t row, QStringList& fields, QString&) {
                 const QString registered = rows.text(row, QStringLiteral("kayittarihi"));
                 const DateTimeParts parts = SplitDateTime(registered);
                 fields << rows.text(row, QStringLiteral("id")) << rows.text(row, QStringLiteral("musteriadi"))
                        << registered << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportPaymentsCsv(Database& db, QChar separator, const QString& path)
{
    const QStringList header{QStringLiteral("ID"),   QStringLiteral("Barcode"),  QStringLiteral("Product"),
                             QStringLiteral("Price"), QStringLiteral("Unit"),    QStringLiteral("Datetime"),
                             QStringLiteral("Date"), QStringLiteral("Time")};
    return TableExporter(db, separator)
        .run(QStringLiteral("SELECT * FROM odemeler order by id;"), header, path,
             [](const QueryResult& rows, size_t row, QStringList& fields, QString& error) {
                 const auto price = priceOf(rows.value(row, QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 const QString paidAt = rows.text(row, QStringLiteral("odemetarihi"));
                 const DateTimeParts parts = SplitDateTime(paidAt);
                 fields << rows.text(row, QStringLiteral("id")) << rows.text(row, QStringLiteral("barkod"))
                        << rows.text(row, QStringLiteral("urunadi")) << MoneyText(*price)
                        << rows.text(row, QStringLiteral("adet")) << paidAt << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportCreditsCsv(Database& db, QChar separator, const QString& paidWord, const QString& path)
{
    const QStringList header{QStringLiteral("ID"),       QStringLiteral("Customer"), QStringLiteral("Barcode"),
                             QStringLiteral("Product"),  QStringLiteral("Price"),    QStringLiteral("Quantity"),
                             QStringLiteral("Total"),    QStringLiteral("Paid"),     QStringLiteral("Datetime"),
                             QStringLiteral("Date"),     QStringLiteral("Time")};
    return TableExporter(db, separator)
        .run(QStringLiteral("SELECT * FROM veresiyeler order by id;"), header, path,
             [&paidWord](const QueryResult& rows, size_t row, QStringList& fields, QString& error) {
                 const auto price = priceOf(rows.value(row, QStringLiteral("fiyat")), error);
                 if (!price)
                     return false;
                 const DbValue& quantity = rows.value(row, QStringLiteral("adet"));
                 const QString registered = rows.text(row, QStringLiteral("kayittarihi"));
                 const DateTimeParts parts = SplitDateTime(registered);
                 const bool open = rows.text(row, QStringLiteral("odendimi")) == QLatin1String("0");
                 fields << rows.text(row, QStringLiteral("id")) << rows.text(row, QStringLiteral("musteriadi"))
                        << rows.text(row, QStringLiteral("barkod")) << rows.text(row, QStringLiteral("urunadi"))
                        << MoneyText(*price) << quantity.asText()
                        << MoneyText(*price * quantity.asDouble())
                        << (open ? QStringLiteral("-") : paidWord) << registered << parts.date << parts.time;
                 return true;
             });
}

CsvExportResult ExportTableCsv(Database& db, DataTable table, QChar separator, const QString& paidWord,
                               const QString& path)
{
    switch (table) {
    case DataTable::Products: return ExportProductsCsv(db, separator, path);
    case DataTable::Customers: return ExportCustomersCsv(db, separator, path);
    case DataTable::Payments: return ExportPaymentsCsv(db, separator, path);
    case DataTable::Credits: return ExportCreditsCsv(db, separator, paidWord, path);
    }
    return {};
}

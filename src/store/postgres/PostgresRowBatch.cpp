#include "store/postgres/PostgresRowBatch.h"

#include "store/postgres/PostgresConnection.h"

#include <QStringList>

namespace {

// Rows per COPY: big enough that round trips cost nothing, small enough that a cancel is quick.
constexpr int kBatchRows = 5000;

// A text value in COPY's text format: the separators and the escape character escaped.
void appendField(QByteArray& rows, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '\\': rows += "\\\\"; break;
        case '\t': rows += "\\t"; break;
        case '\n': rows += "\\n"; break;
        case '\r': rows += "\\r"; break;
        default: rows += c;
        }
    }
}

QString invalidInput(const char* type, const QString& value)
{
    return QStringLiteral("invalid input syntax for type %1: \"%2\"").arg(QLatin1String(type), value);
}

// The value as COPY's text format writes it into a column of this kind; false, with the server's words, when the
// column would refuse it.
bool fieldText(const QVariant& value, ColumnKind kind, QByteArray* field, QString* refusal)
{
    if (value.isNull()) {
        *field = "\\N";
        return true;
    }
    const QString text = value.toString();
    bool isNumber = false;
    switch (kind) {
    case ColumnKind::Text:
        // The server's text columns cannot hold a NUL character.
        if (text.contains(QChar(0))) {
            *refusal = QStringLiteral("invalid byte sequence for encoding \"UTF8\": 0x00");
            return false;
        }
        field->clear();
        appendField(*field, text);
        return true;
    case ColumnKind::Real: {
        const double real = text.trimmed().toDouble(&isNumber);
        if (!isNumber) {
            *refusal = invalidInput("double precision", text);
            return false;
        }
        *field = QByteArray::number(real, 'g', 17); // the exact double, as a bound value would give it
        return true;
    }
    case ColumnKind::Integer: {
        const qint64 integer = text.trimmed().toLongLong(&isNumber);
        if (!isNumber) {
            *refusal = invalidInput("bigint", text);
            return false;
        }
        *field = QByteArray::number(integer);
        return true;
    }
    }
    return false;
}

} // namespace

PostgresRowBatch::PostgresRowBatch(PostgresConnection& connection, const QString& table,
                                   std::vector<BatchColumn> columns)
    : m_connection(connection)
    , m_columns(std::move(columns))
{
    QStringList names;
    for (const BatchColumn& column : m_columns)
        names << column.name;
    m_copyStatement = QStringLiteral("COPY %1 (%2) FROM STDIN;").arg(table, names.join(QStringLiteral(", ")));
}

bool PostgresRowBatch::add(const std::vector<QVariant>& values, QString* refusal)
{
    if (values.size() != m_columns.size()) {
        *refusal = QStringLiteral("%1 values for %2 columns").arg(values.size()).arg(m_columns.size());
        return false;
    }
    QByteArray row;
    QByteArray field;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!fieldText(values[i], m_columns[i].kind, &field, refusal))
            return false;
        if (i > 0)
            row += '\t';
        row += field;
    }
    m_rows += row;
    m_rows += '\n';
    ++m_waiting;
    return true;
}

bool PostgresRowBatch::full() const
{
    return m_waiting >= kBatchRows;
}

bool PostgresRowBatch::send(QString* error)
{
    if (m_waiting == 0)
        return true;
    const bool stored = m_connection.copyIn(m_copyStatement, m_rows, error);
    m_rows.clear();
    m_waiting = 0;
    return stored;
}

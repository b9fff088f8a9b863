#include "reports/CsvFile.h"

#include "platform/TextFile.h"

QString CsvQuote(const QString& value, QChar separator)
{
    const QChar quote(QLatin1Char('"'));
    if (!value.contains(separator) && !value.contains(quote))
        return value;
    QString doubled = value;
    doubled.replace(quote, QStringLiteral("\"\""));
    return quote + doubled + quote;
}

DateTimeParts SplitDateTime(const QString& dateTime)
{
    const qsizetype blank = dateTime.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {QString(), dateTime};
    return {dateTime.left(blank), dateTime.mid(blank + 1)};
}

CsvWriter::CsvWriter(QChar separator, Quoting quoting) : m_separator(separator), m_quoting(quoting) {}

void CsvWriter::addLine(const QStringList& fields)
{
    if (m_quoting == Quoting::None) {
        m_lines << fields.join(m_separator);
        return;
    }
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted << CsvQuote(field, m_separator);
    m_lines << quoted.join(m_separator);
}

QByteArray CsvWriter::bytes() const
{
    return Utf8CrLfLines(m_lines, false);
}

bool CsvWriter::save(const QString& path, QString* error) const
{
    return WriteFileAtomically(path, bytes(), error);
}

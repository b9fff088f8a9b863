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

CsvWriter::CsvWriter(QChar separator, Quoting quoting)
    : m_separator(separator), m_separatorBytes(QString(separator).toUtf8()), m_quoting(quoting)
{
}

void CsvWriter::addLine(const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_bytes += m_separatorBytes;
        m_bytes += (m_quoting == Quoting::None ? fields[i] : CsvQuote(fields[i], m_separator)).toUtf8();
    }
    m_bytes += "\r\n";
    ++m_lineCount;
}

bool CsvWriter::save(const QString& path, QString* error) const
{
    return WriteFileAtomically(path, m_bytes, error);
}

#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <utility>

// The one CSV format of the program: UTF-8 without a byte-order mark, CR LF after every line (the last one
// too), fields joined by the list separator, nothing after the last field.

// Encloses the value in double quotes, doubling the quotes inside, when it holds the separator or a double
// quote; any other value (the empty one too) comes back unchanged.
QString CsvQuote(const QString& value, QChar separator);

// The part of a stored date-time text before its first blank and the part after it; a text without a blank
// has an empty date and the whole text as its time.
struct DateTimeParts
{
    QString date;
    QString time;
};
DateTimeParts SplitDateTime(const QString& dateTime);

// Collects lines and writes them as one CSV file.
class CsvWriter
{
public:
    enum class Quoting { None, Quote };

    explicit CsvWriter(QChar separator, Quoting quoting = Quoting::Quote);

    void addLine(const QStringList& fields);
    int lineCount() const { return m_lineCount; }

    const QByteArray& bytes() const { return m_bytes; }
    // The bytes collected so far, which the writer then forgets (for a file written piece by piece).
    QByteArray takeBytes() { return std::exchange(m_bytes, QByteArray()); }
    // Replaces the file as a whole: a failed write leaves the old file intact. Returns false with the reason.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    QChar m_separator;
    QByteArray m_separatorBytes;
    Quoting m_quoting;
    QByteArray m_bytes; // the file as it grows, line by line
    int m_lineCount = 0;
};

#pragma once

#include "platform/AtomicFileWriter.h"
#include "reports/CsvFile.h"

#include <QChar>
#include <QString>
#include <QStringList>

struct CsvExportResult
{
    enum class Status {
        Written,
        QueryFailed, // the database has reported it already; no file was written
        BadValue,    // a stored price is not a number; message says which; no file was written
        WriteFailed, // message holds the file error; the old file, if any, is intact
        Cancelled    // stopped on request; no file was written and the old file, if any, is intact
    };
    Status status = Status::Written;
    QString message;
    int rows = 0;

    bool ok() const { return status == Status::Written; }
};

// The file of a CSV export: its lines are collected and written through a piece of about a megabyte at a time
// into a temporary file, which takes the target's place only on commit(). A failure sets the result's status to
// WriteFailed with the file error as its message and returns false; the target then stays as it was.
class CsvExportFile
{
public:
    CsvExportFile(const QString& path, QChar separator, CsvWriter::Quoting quoting);

    bool open(CsvExportResult& result);
    bool addLine(const QStringList& fields, CsvExportResult& result);
    // Writes the rest and replaces the target.
    bool commit(CsvExportResult& result);

private:
    static constexpr qsizetype kChunkBytes = 1 << 20;

    bool failed(CsvExportResult& result);

    AtomicFileWriter m_file;
    CsvWriter m_writer;
};

#include "reports/CsvExportFile.h"

CsvExportFile::CsvExportFile(const QString& path, QChar separator, CsvWriter::Quoting quoting)
    : m_file(path), m_writer(separator, quoting)
{
}

bool CsvExportFile::open(CsvExportResult& result)
{
    return m_file.open(&result.message) || failed(result);
}

bool CsvExportFile::addLine(const QStringList& fields, CsvExportResult& result)
{
    m_writer.addLine(fields);
    if (m_writer.bytes().size() < kChunkBytes)
        return true;
    return m_file.write(m_writer.takeBytes(), &result.message) || failed(result);
}

bool CsvExportFile::commit(CsvExportResult& result)
{
    return (m_file.write(m_writer.takeBytes(), &result.message) && m_file.commit(&result.message)) || failed(result);
}

bool CsvExportFile::failed(CsvExportResult& result)
{
    result.status = CsvExportResult::Status::WriteFailed;
    return false;
}

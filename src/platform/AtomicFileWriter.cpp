#include "platform/AtomicFileWriter.h"

AtomicFileWriter::AtomicFileWriter(const QString& path) : m_file(path) {}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool AtomicFileWriter::open(QString* error)
{
    // Unbuffered, as in WriteFileAtomically: every failed write is seen where it happens.
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    m_failed = true;
    if (error)
        *error = m_file.errorString();
    return false;
}

bool AtomicFileWriter::write(const QByteArray& bytes, QString* error)
{
    for (qint64 done = 0; !m_failed && done < bytes.size();) {
        const qint64 count = m_file.write(bytes.constData() + done, bytes.size() - done);
        m_failed = count <= 0;
        done += count;
    }
    if (m_failed && error)
        *error = m_file.errorString();
    return !m_failed;
}

bool AtomicFileWriter::commit(QString* error)
{
    if (!m_failed && m_file.isOpen() && m_file.commit())
        return true;
    if (error)
        *error = m_file.errorString();
    if (m_file.isOpen())
        m_file.cancelWriting();
    m_failed = true;
    return false;
}

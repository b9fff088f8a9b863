#include "store/WorkerConnection.h"

WorkerConnection::WorkerConnection(const QString& path, std::function<bool()> cancelled)
    : m_cancelled(std::move(cancelled))
{
    m_db.setErrorReporter([this](const QString& message) { m_errors << message; });
    m_db.setCancelCheck(m_cancelled);
    m_db.open(path);
}

QStringList WorkerConnection::errors() const
{
    if (m_cancelled && m_cancelled())
        return {};
    return m_errors;
}

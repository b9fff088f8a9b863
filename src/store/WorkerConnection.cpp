#include "store/WorkerConnection.h"

WorkerConnection::WorkerConnection(const QString& path)
{
    m_db.setErrorReporter([this](const QString& message) { m_errors << message; });
    m_db.open(path);
}

#include "store/WorkerConnection.h"

#include "store/PostgresConnection.h"

#include <mutex>

namespace {

// The server connection the last worker left, idle, and the URL it was opened with.
struct SpareConnection
{
    std::mutex mutex;
    QString url;
    std::unique_ptr<PostgresConnection> connection;
};

SpareConnection& Spare()
{
    static SpareConnection spare;
    return spare;
}

// The kept connection when it was opened with the URL and is still idle; a connection the server has closed
// or that belongs to another database is let go.
std::unique_ptr<PostgresConnection> TakeSpare(const QString& url)
{
    SpareConnection& spare = Spare();
    std::unique_ptr<PostgresConnection> taken;
    {
        const std::lock_guard<std::mutex> lock(spare.mutex);
        taken = std::move(spare.connection);
        if (spare.url != url)
            taken.reset();
    }
    if (taken && !taken->isIdle())
        taken.reset();
    return taken;
}

void KeepSpare(const QString& url, std::unique_ptr<PostgresConnection> connection)
{
    if (!connection)
        return;
    SpareConnection& spare = Spare();
    std::unique_ptr<PostgresConnection> replaced;
    const std::lock_guard<std::mutex> lock(spare.mutex);
    replaced = std::move(spare.connection); // closed once the lock is released
    spare.url = url;
    spare.connection = std::move(connection);
}

} // namespace

WorkerConnection::WorkerConnection(const QString& path, std::function<bool()> cancelled)
    : m_cancelled(std::move(cancelled))
{
    m_db.setErrorReporter([this](const QString& message) { m_errors << message; });
    m_db.setCancelCheck(m_cancelled);
    std::unique_ptr<PostgresConnection> spare = IsServerUrl(path) ? TakeSpare(path) : nullptr;
    if (spare)
        m_db.open(path, std::move(spare));
    else
        m_db.open(path);
}

WorkerConnection::~WorkerConnection()
{
    if (m_db.isOnServer())
        KeepSpare(m_db.path(), m_db.releaseServerConnection());
}

QStringList WorkerConnection::errors() const
{
    if (m_cancelled && m_cancelled())
        return {};
    return m_errors;
}

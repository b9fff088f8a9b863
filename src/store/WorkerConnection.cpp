#include "store/WorkerConnection.h"

#include <mutex>

namespace {

// The connection the last worker left, idle, and the path it was opened with (see Connection::isWorthKeeping:
// a server's, never a file's).
struct SpareConnection
{
    std::mutex mutex;
    QString path;
    std::unique_ptr<Connection> connection;
};

SpareConnection& Spare()
{
    static SpareConnection spare;
    return spare;
}

// The kept connection when it was opened with the path and is still idle; a connection the server has closed
// or that belongs to another database is let go.
std::unique_ptr<Connection> TakeSpare(const QString& path)
{
    SpareConnection& spare = Spare();
    std::unique_ptr<Connection> taken;
    {
        const std::lock_guard<std::mutex> lock(spare.mutex);
        taken = std::move(spare.connection);
        if (spare.path != path)
            taken.reset();
    }
    if (taken && !taken->isWorthKeeping())
        taken.reset();
    return taken;
}

void KeepSpare(const QString& path, std::unique_ptr<Connection> connection)
{
    if (!connection)
        return;
    SpareConnection& spare = Spare();
    std::unique_ptr<Connection> replaced;
    const std::lock_guard<std::mutex> lock(spare.mutex);
    replaced = std::move(spare.connection); // closed once the lock is released
    spare.path = path;
    spare.connection = std::move(connection);
}

} // namespace

WorkerConnection::WorkerConnection(const QString& path, std::function<bool()> cancelled)
    : m_cancelled(std::move(cancelled))
{
    m_db.setErrorReporter([this](const QString& message) { m_errors << message; });
    m_db.setCancelCheck(m_cancelled);
    std::unique_ptr<Connection> spare = TakeSpare(path);
    if (spare)
        m_db.open(path, std::move(spare));
    else
        m_db.open(path);
}

WorkerConnection::~WorkerConnection()
{
    KeepSpare(m_db.path(), m_db.releaseIdleConnection());
}

QStringList WorkerConnection::errors() const
{
    if (m_cancelled && m_cancelled())
        return {};
    return m_errors;
}

#pragma once

#include "store/Database.h"

#include <QStringList>

// A connection of its own to the file that the window's connection has open, for work on a worker thread. The
// failures it would report are kept instead, so that the window shows them once the work is over.
// On a server the connection of the last worker is kept, idle, for the next one: connecting starts a server
// process and authenticates, which takes longer than reading a month of sales.
class WorkerConnection
{
public:
    // With a cancel check, statements stop soon after it says so (see Database::setCancelCheck).
    explicit WorkerConnection(const QString& path, std::function<bool()> cancelled = {});
    ~WorkerConnection();
    WorkerConnection(const WorkerConnection&) = delete;
    WorkerConnection& operator=(const WorkerConnection&) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    Database& db() { return m_db; }
    // The engine's messages of every failure, in order; none once the work was cancelled, since then a
    // failure is only the interruption.
    QStringList errors() const;

private:
    QStringList m_errors;
    std::function<bool()> m_cancelled;
    Database m_db;
};

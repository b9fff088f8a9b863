#pragma once

#include "store/Database.h"

#include <QStringList>

// A connection of its own to the file that the window's connection has open, for work on a worker thread. The
// failures it would report are kept instead, so that the window shows them once the work is over.
class WorkerConnection
{
public:
    explicit WorkerConnection(const QString& path);
    WorkerConnection(const WorkerConnection&) = delete;
    WorkerConnection& operator=(const WorkerConnection&) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    Database& db() { return m_db; }
    // The engine's messages of every failure, in order.
    const QStringList& errors() const { return m_errors; }

private:
    QStringList m_errors;
    Database m_db;
};

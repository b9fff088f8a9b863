#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL cluster of the test's own, for tests that stop and start the server: initdb into a temporary
// folder and pg_ctl on a Unix socket in that folder only (no TCP port), as scripts/with-test-database-server.sh
// does; run as the postgres user when the test runs as root, since the server refuses root. Stopped and removed
// when the object goes. Without the server programs (/usr/lib/postgresql/*/bin) it is not available.
class PrivatePostgresServer
{
public:
    PrivatePostgresServer();
    ~PrivatePostgresServer();
    PrivatePostgresServer(const PrivatePostgresServer&) = delete;
    PrivatePostgresServer& operator=(const PrivatePostgresServer&) = delete;

    // False when there are no server programs or the cluster could not be made and started.
    bool available() const { return m_available; }
    // Why it is not available, or why stop() or start() failed last.
    QString reason() const { return m_reason; }
    // The connection URI of the cluster's "postgres" database.
    QString url() const;
    // The folder of the cluster, where its socket is.
    QString folder() const { return m_folder.path(); }

    // From now on the server lets the postgres user in only with this password (scram-sha-256), as a shop's
    // server would; url() names no password. False, with the reason, when the server could not be told.
    bool requirePassword(const QString& password);

    // Stops the server at once, as a power cut would: its connections break and nothing is shut down cleanly.
    bool stop();
    // Starts it (again) and waits until it accepts connections.
    bool start();

private:
    // Runs one of the server's programs as the cluster's owner; false with its output in m_reason.
    bool run(const QString& program, const QStringList& arguments);

    QTemporaryDir m_folder;
    QString m_bin;
    QStringList m_asOwner; // "runuser -u postgres --" when running as root
    QString m_reason;
    bool m_created = false; // initdb made the cluster
    bool m_available = false;
};

#include "support/PrivatePostgresServer.h"

#include "store/Database.h"
#include "store/DatabaseEngine.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace {

// The newest server's program folder, or nothing.
QString ServerPrograms()
{
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(found.begin(), found.end(), numeric);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable()
            && QFileInfo(bin + QStringLiteral("/initdb")).isExecutable())
            return bin;
    }
    return QString();
}

// runuser, which a root shell may not have on its PATH.
QString RunUser()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("runuser"));
    return onPath.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("runuser"),
                                                             {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                            : onPath;
}

} // namespace

// In /tmp itself: the socket's path stays short (a Unix socket's path has about a hundred bytes at most), and
// the postgres user can reach it whatever TMPDIR says.
PrivatePostgresServer::PrivatePostgresServer()
    : m_folder(QStringLiteral("/tmp/quenvale-pg.XXXXXX"))
{
    m_bin = ServerPrograms();
    if (m_bin.isEmpty()) {
        m_reason = QStringLiteral("no PostgreSQL server programs in /usr/lib/postgresql/*/bin");
        return;
    }
    if (!m_folder.isValid()) {
        m_reason = QStringLiteral("no temporary folder: ") + m_folder.errorString();
        return;
    }
    if (::geteuid() == 0) {
        const passwd* owner = ::getpwnam("postgres");
        const QString runuser = RunUser();
        if (!owner || runuser.isEmpty()
            || ::chown(QFile::encodeName(m_folder.path()).constData(), owner->pw_uid, owner->pw_gid) != 0) {
            m_reason = QStringLiteral("running as root without a postgres user (and runuser) to own the server");
            return;
        }
        m_asOwner = {runuser, QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")};
    }
    if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")),
                                         QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("--auth=trust"),
                                         QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                                         QStringLiteral("--no-sync")}))
        return;
    m_created = true;
    m_available = start();
}

PrivatePostgresServer::~PrivatePostgresServer()
{
    // Also after a start that failed half way: a server may run all the same.
    if (m_created)
        stop();
}

QString PrivatePostgresServer::url() const
{
    return QStringLiteral("postgresql://postgres@/postgres?host=") + m_folder.path();
}

bool PrivatePostgresServer::requirePassword(const QString& password)
{
    {
        Database db;
        db.setErrorReporter([this](const QString& message) { m_reason = message; });
        if (!db.open(url())
            || !db.ExecuteDirect(QStringLiteral("SELECT set_config('password_encryption', 'scram-sha-256', false);"
                                                "ALTER ROLE postgres PASSWORD '%1';")
                                     .arg(QString(password).replace(QLatin1Char('\''), QStringLiteral("''")))))
            return false;
    }
    QFile rules(m_folder.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!rules.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_reason = rules.errorString();
        return false;
    }
    rules.write("local all all scram-sha-256\n");
    rules.close();
    if (!run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")),
                                         QStringLiteral("reload")}))
        return false;
    // The server reads the rules again soon after the signal: wait until it asks for the password.
    for (int i = 0; i < 500; ++i) {
        if (!CanConnect(url(), nullptr))
            return true;
        QThread::msleep(10);
    }
    m_reason = QStringLiteral("the server still lets the postgres user in without a password");
    return false;
}

bool PrivatePostgresServer::stop()
{
    return run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")),
                                          QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                                          QStringLiteral("stop")});
}

bool PrivatePostgresServer::start()
{
    return run(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                m_folder.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-o"),
                QStringLiteral("-k %1 -c listen_addresses= -c fsync=off -c max_connections=20").arg(m_folder.path()),
                QStringLiteral("start")});
}

bool PrivatePostgresServer::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(QDir::tempPath()); // the owner may not enter the test's working folder
    QStringList command = m_asOwner;
    command << m_bin + QLatin1Char('/') + program << arguments;
    process.start(command.takeFirst(), command);
    const bool finished = process.waitForFinished(120000);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (!finished)
        process.kill();
    m_reason = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll()).trimmed();
    return false;
}

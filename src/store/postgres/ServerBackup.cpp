#include "store/postgres/ServerBackup.h"

#include "platform/AtomicFileWriter.h"
#include "store/ServerUrl.h"
#include "store/postgres/PostgresConnection.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <libpq-fe.h>

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kPollMs = 100;

void stop(QProcess& client)
{
    client.kill();
    client.waitForFinished();
}

// Every setting the URL gives, as the environment variable libpq reads it from (PGHOST, PGUSER, PGPASSWORD …):
// a client's command line is open to every user of the computer (ps), its environment only to this user. The
// few settings without a variable (keepalives, sslpassword …) do not reach the client.
bool ConnectWithEnvironment(QProcess& client, const QString& url, QString* error)
{
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.toUtf8().constData(), &parseError);
    if (!options) {
        *error = parseError ? WithoutPassword(QString::fromUtf8(parseError).trimmed(), url)
                            : QStringLiteral("out of memory");
        PQfreemem(parseError);
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (option->val && option->envvar)
            environment.insert(QString::fromLatin1(option->envvar), QString::fromUtf8(option->val));
    }
    PQconninfoFree(options);
    client.setProcessEnvironment(environment);
    return true;
}

// The client's --dbname: a URI without a single setting, so that all of them come from the environment.
const QString kDatabaseFromEnvironment = QStringLiteral("--dbname=postgresql://");

bool start(QProcess& client, const QString& program, const QString& url, const QStringList& arguments,
           QString* error)
{
    if (!ConnectWithEnvironment(client, url, error))
        return false;
    client.start(program, arguments);
    if (client.waitForStarted(kStartTimeoutMs))
        return true;
    *error = QStringLiteral("%1 could not be started: %2").arg(program, client.errorString());
    return false;
}

// The client's own words when it ended with a failure; empty when it succeeded.
QString failureOf(QProcess& client, const QString& program, const QString& url)
{
    if (client.exitStatus() == QProcess::NormalExit && client.exitCode() == 0)
        return {};
    const QString said = WithoutPassword(QString::fromLocal8Bit(client.readAllStandardError()).trimmed(), url);
    return said.isEmpty() ? QStringLiteral("%1 failed (exit code %2)").arg(program).arg(client.exitCode()) : said;
}

} // namespace

bool DumpServerDatabase(const QString& url, const QString& targetPath, QString* error,
                        const std::function<bool()>& keepGoing)
{
    AtomicFileWriter target(targetPath);
    if (!target.open(error))
        return false;
    QProcess dump;
    // The dump comes through standard output into the temporary file.
    if (!start(dump, QStringLiteral("pg_dump"), url, {QStringLiteral("--format=custom"), kDatabaseFromEnvironment},
               error))
        return false;
    for (;;) {
        if (!keepGoing()) {
            stop(dump);
            *error = QStringLiteral("Cancelled");
            return false;
        }
        dump.waitForReadyRead(kPollMs);
        const bool ended = dump.state() == QProcess::NotRunning;
        if (!target.write(dump.readAllStandardOutput(), error)) {
            stop(dump);
            return false;
        }
        if (ended)
            break;
    }
    const QString failure = failureOf(dump, QStringLiteral("pg_dump"), url);
    if (!failure.isEmpty()) {
        *error = failure;
        return false;
    }
    return target.commit(error);
}

bool IsServerDumpFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "PGDMP";
}

RestoreResult RestoreServerDump(const QString& url, const QString& sourcePath, const std::function<bool()>& keepGoing)
{
    RestoreResult result;
    if (!IsServerDumpFile(sourcePath)) {
        result.outcome = RestoreResult::NotADatabase;
        return result;
    }
    // The dump's tables may be older than this program; a dump of an older version does not replace the record
    // of the current tables' schema, so it is forgotten now and the next start brings them up to date.
    if (const auto connection = PostgresConnection::connect(url, nullptr))
        connection->forgetSchemaVersion();
    QProcess restore;
    // One transaction: stopped or failed part way, the server keeps the old tables.
    const QStringList arguments = {QStringLiteral("--clean"),     QStringLiteral("--if-exists"),
                                   QStringLiteral("--no-owner"),  QStringLiteral("--no-privileges"),
                                   QStringLiteral("--single-transaction"), kDatabaseFromEnvironment,
                                   sourcePath};
    if (!start(restore, QStringLiteral("pg_restore"), url, arguments, &result.error))
        return result;
    while (restore.state() != QProcess::NotRunning) {
        restore.waitForFinished(kPollMs);
        if (restore.state() != QProcess::NotRunning && !keepGoing()) {
            stop(restore);
            result.outcome = RestoreResult::Cancelled;
            return result;
        }
    }
    result.error = failureOf(restore, QStringLiteral("pg_restore"), url);
    result.outcome = result.error.isEmpty() ? RestoreResult::Restored : RestoreResult::CopyFailed;
    return result;
}

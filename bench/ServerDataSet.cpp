#include "ServerDataSet.h"

#include "RawServer.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUrl>
#include <cstdio>
#include <sqlite3.h>

namespace {

// The tables of data.db, each copied whole (the payment types are the server's own).
const char* const kTables[] = {"urunler", "musteriler", "veresiyeler", "odemeler", "sale_records", "tenders"};

bool OnServer(const QString& url, const QString& sql, QString* error)
{
    Database admin;
    admin.setErrorReporter([error](const QString& message) { *error = message; });
    return admin.open(url) && admin.ExecuteDirect(sql);
}

// A cell in COPY's text format: NULL is \N, backslash and the separators are escaped.
void AppendCell(QByteArray& out, sqlite3_stmt* row, int column)
{
    switch (sqlite3_column_type(row, column)) {
    case SQLITE_NULL:
        out += "\\N";
        return;
    case SQLITE_INTEGER:
        out += QByteArray::number(sqlite3_column_int64(row, column));
        return;
    case SQLITE_FLOAT: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", sqlite3_column_double(row, column));
        out += buffer;
        return;
    }
    default:
        break;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    const int size = sqlite3_column_bytes(row, column);
    for (int i = 0; i < size; ++i) {
        switch (text[i]) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += text[i];
        }
    }
}

// Copies one table of data.db, ids included, and moves the id sequence past them.
bool CopyTable(sqlite3* source, RawServer& server, const char* table, QString* error)
{
    QStringList columns;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(source, (QByteArray("PRAGMA table_info(") + table + ")").constData(), -1, &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
    sqlite3_finalize(info);
    const QByteArray list = columns.join(QLatin1Char(',')).toUtf8();

    sqlite3_stmt* rows = nullptr;
    const QByteArray select = "SELECT " + list + " FROM " + table + " order by id";
    if (sqlite3_prepare_v2(source, select.constData(), -1, &rows, nullptr)
        != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(source));
        return false;
    }
    const QByteArray copy = QByteArray("COPY ") + table + " (" + list + ") FROM STDIN";
    RawResult start(PQexec(server.get(), copy.constData()));
    if (PQresultStatus(start.get()) != PGRES_COPY_IN) {
        sqlite3_finalize(rows);
        *error = server.error();
        return false;
    }
    QByteArray chunk;
    bool sent = true;
    const int count = sqlite3_column_count(rows);
    while (sent && sqlite3_step(rows) == SQLITE_ROW) {
        for (int c = 0; c < count; ++c) {
            if (c)
                chunk += '\t';
            AppendCell(chunk, rows, c);
        }
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            sent = PQputCopyData(server.get(), chunk.constData(), int(chunk.size())) == 1;
            chunk.clear();
        }
    }
    sqlite3_finalize(rows);
    if (sent && !chunk.isEmpty())
        sent = PQputCopyData(server.get(), chunk.constData(), int(chunk.size())) == 1;
    PQputCopyEnd(server.get(), sent ? nullptr : "the bench could not send the rows");
    bool copied = true;
    while (PGresult* end = PQgetResult(server.get())) {
        copied = copied && RawResult(end).ok();
    }
    if (!copied || !sent) {
        *error = server.error();
        return false;
    }
    const QByteArray sequence = QByteArray("SELECT setval(pg_get_serial_sequence('") + table
                                + "', 'id'), coalesce(max(id), 0) + 1, false) FROM " + table;
    if (!server.exec(sequence.constData()) || !server.exec((QByteArray("VACUUM ANALYZE ") + table).constData())) {
        *error = server.error();
        return false;
    }
    return true;
}

} // namespace

ServerDataSet::ServerDataSet(const QString& serverUrl, const QString& dataFile, const QString& purpose)
    : m_serverUrl(serverUrl)
{
    const QString name = QStringLiteral("quenvale_%1_%2").arg(purpose).arg(QCoreApplication::applicationPid());
    if (!OnServer(m_serverUrl, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(name), &m_error)
        || !OnServer(m_serverUrl, QStringLiteral("CREATE DATABASE %1;").arg(name), &m_error))
        return;
    m_name = name;
    QUrl location(m_serverUrl);
    location.setPath(QLatin1Char('/') + m_name);
    if (load(dataFile))
        m_url = location.toString();
}

ServerDataSet::~ServerDataSet()
{
    QString ignored;
    if (!m_name.isEmpty())
        OnServer(m_serverUrl, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(m_name), &ignored);
}

bool ServerDataSet::load(const QString& dataFile)
{
    QUrl location(m_serverUrl);
    location.setPath(QLatin1Char('/') + m_name);
    const QString url = location.toString();
    {
        // The program's own tables and indexes, as a till creates them on its first connect.
        Database schema;
        schema.setErrorReporter([this](const QString& message) { m_error = message; });
        if (!schema.open(url))
            return false;
        schema.Migrate();
        if (!m_error.isEmpty())
            return false;
    }
    if (dataFile.isEmpty())
        return true;
    RawServer server(url);
    if (!server.isOpen()) {
        m_error = server.error();
        return false;
    }
    sqlite3* source = nullptr;
    if (sqlite3_open_v2(dataFile.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(source));
        sqlite3_close(source);
        return false;
    }
    bool ok = true;
    for (const char* table : kTables) {
        if (!CopyTable(source, server, table, &m_error)) {
            ok = false;
            break;
        }
    }
    sqlite3_close(source);
    // The load leaves the server writing out a few hundred megabytes; that should not fall into the timings.
    // (A server user who may not ask for a checkpoint just gets none.)
    if (ok)
        server.exec("CHECKPOINT");
    return ok;
}

#include "store/sqlite/SqliteDatabaseFile.h"

#include "store/sqlite/FilePaths.h"

#include <QFile>

#include <sqlite3.h>

bool IsSqliteDatabaseFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray kHeader("SQLite format 3\0", 16);
    if (file.read(kHeader.size()) != kHeader)
        return false;
    file.close();

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(SqlitePath(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    auto firstText = [db](const char* sql, bool* ok) {
        QString text;
        sqlite3_stmt* stmt = nullptr;
        *ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && stmt
              && sqlite3_step(stmt) == SQLITE_ROW;
        if (*ok) {
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            text = value ? QString::fromUtf8(value) : QString();
        }
        sqlite3_finalize(stmt);
        return text;
    };
    bool schemaRead = false;
    bool checked = false;
    firstText("SELECT count(*) FROM sqlite_master;", &schemaRead);
    const QString check = schemaRead ? firstText("PRAGMA quick_check;", &checked) : QString();
    sqlite3_close(db);
    return schemaRead && checked && check == QLatin1String("ok");
}

#include "store/sqlite/TakingsMigration.h"

#include "TakingsSql.h"
#include "store/Database.h"
#include "store/Transaction.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QScopeGuard>
#include <QtEndian>

namespace {

// PRAGMA user_version holds a signed 32-bit number: 31 bits of the text's SHA-256 (never 0, a new file's value).
qint64 TakingsFingerprint()
{
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(kTakingsSql), QCryptographicHash::Sha256);
    const qint64 bits = qFromBigEndian<quint32>(hash.constData()) & 0x7fffffff;
    return bits == 0 ? 1 : bits;
}

QStringList ColumnsOf(Database& db, const QString& table)
{
    QStringList names;
    for (const auto& row : db.Query(QStringLiteral("PRAGMA table_info(%1);").arg(table)).rows)
        if (row.size() > 1)
            names << row[1].asText();
    return names;
}

// A version 4 UUID, made by the engine for each row.
const char* const kNewUuidSql =
    "lower(hex(randomblob(4))) || '-' || lower(hex(randomblob(2))) || '-4' || substr(lower(hex(randomblob(2))), 2)"
    " || '-' || substr('89ab', 1 + (random() & 3), 1) || substr(lower(hex(randomblob(2))), 2) || '-'"
    " || lower(hex(randomblob(6)))";

// The records of the lines stored before there were records (see MigrateTakings); the server's schema script
// does the same. The lines find their record through an index on the grouping: a shop's million lines take
// seconds, not hours.
bool RecordOldSales(Database& db)
{
    const QString cents = QStringLiteral("CAST(round(total(round(fiyat * 100) * adet)) AS INTEGER)");
    const QString order = QStringLiteral(" FROM old_records ORDER BY recorded_at, source, k_receipt;");
    return db.ExecuteDirect(
               QStringLiteral(
                   "CREATE TEMP TABLE old_records AS"
                   " SELECT 1 AS source, coalesce(fisno, 0) AS k_receipt, -1 AS k_customer, '' AS k_name,"
                   " coalesce(odemetarihi, '') AS recorded_at, 'sale' AS kind, NULL AS customer_id,"
                   " NULL AS customer_name, 'Cash' AS tender_type, %1 AS total_cents, NULL AS sale_id"
                   " FROM odemeler WHERE sale_id IS NULL GROUP BY 2, 5"
                   " UNION ALL"
                   " SELECT 2, 0, coalesce(musteriid, -1), coalesce(musteriadi, ''), coalesce(kayittarihi, ''),"
                   " 'sale', min(musteriid), min(musteriadi), 'Account', %1, NULL"
                   " FROM veresiyeler WHERE sale_id IS NULL GROUP BY 3, 4, 5;"
                   "CREATE INDEX temp.old_records_lines ON old_records (source, k_receipt, recorded_at, k_customer,"
                   " k_name);"
                   "CREATE TEMP TABLE settled_at AS SELECT coalesce(odemetarihi, '') AS paid_at, min(id) AS first_line"
                   " FROM veresiyeler WHERE odendimi = 1 AND odemetarihi IS NOT NULL GROUP BY 1;"
                   "CREATE INDEX temp.settled_at_paid_at ON settled_at (paid_at);"
                   "UPDATE old_records SET kind = 'settlement', customer_id = v.musteriid, customer_name = v.musteriadi"
                   " FROM settled_at s JOIN veresiyeler v ON v.id = s.first_line"
                   " WHERE old_records.source = 1 AND old_records.k_receipt = 0 AND s.paid_at = old_records.recorded_at;"
                   "UPDATE old_records SET sale_id = %2;")
                   .arg(cents, QLatin1String(kNewUuidSql)))
           && db.ExecuteDirect(QStringLiteral("INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind,"
                                              " customer_id, customer_name, subtotal_cents, discount_cents, total_cents)"
                                              " SELECT sale_id, ?, nullif(k_receipt, 0), recorded_at, kind, customer_id,"
                                              " customer_name, total_cents, 0, total_cents")
                                   + order,
                               {db.tillName()})
           && db.ExecuteDirect(
               QStringLiteral("INSERT INTO tenders (sale_id, position, tender_type, amount_cents)"
                              " SELECT sale_id, 1, tender_type, total_cents")
               + order
               + QStringLiteral(
                   "UPDATE odemeler SET sale_id = (SELECT g.sale_id FROM old_records g WHERE g.source = 1"
                   " AND g.k_receipt = coalesce(odemeler.fisno, 0) AND g.recorded_at = coalesce(odemeler.odemetarihi, '')"
                   " AND g.k_customer = -1 AND g.k_name = '') WHERE sale_id IS NULL;"
                   "UPDATE veresiyeler SET sale_id = (SELECT g.sale_id FROM old_records g WHERE g.source = 2"
                   " AND g.k_receipt = 0 AND g.recorded_at = coalesce(veresiyeler.kayittarihi, '')"
                   " AND g.k_customer = coalesce(veresiyeler.musteriid, -1)"
                   " AND g.k_name = coalesce(veresiyeler.musteriadi, '')) WHERE sale_id IS NULL;"
                   "DROP TABLE temp.old_records;"
                   "DROP TABLE temp.settled_at;"));
}

} // namespace

void MigrateTakings(Database& db)
{
    const QueryResult version = db.Query(QStringLiteral("PRAGMA user_version;"));
    const qint64 fingerprint = TakingsFingerprint();
    if (!version.ok || version.empty() || version.rows[0][0].asInteger() == fingerprint)
        return;
    const QStringList payments = ColumnsOf(db, QStringLiteral("odemeler"));
    const QStringList credits = ColumnsOf(db, QStringLiteral("veresiyeler"));
    const QStringList records = ColumnsOf(db, QStringLiteral("sale_records"));
    if (payments.isEmpty() || credits.isEmpty() || !QFileInfo(db.path()).isWritable())
        return;

    Transaction transaction(db);
    if (!transaction.active())
        return;
    // Giving every old line its record's id rewrites its index at random places: with more of the file in memory
    // the migration of a big shop takes half the time. The connection's own setting returns afterwards.
    const QueryResult cache = db.Query(QStringLiteral("PRAGMA cache_size;"));
    const qint64 cacheSize = cache.value(0, QStringLiteral("cache_size")).asInteger();
    if (!cache.empty())
        db.ExecuteDirect(QStringLiteral("PRAGMA cache_size = -131072;"));
    const auto restoreCache = qScopeGuard([&db, &cache, cacheSize] {
        if (!cache.empty())
            db.ExecuteDirect(QStringLiteral("PRAGMA cache_size = %1;").arg(cacheSize));
    });
    const bool migrated =
        (payments.contains(QStringLiteral("sale_id"))
         || db.ExecuteDirect(QStringLiteral("ALTER TABLE odemeler ADD COLUMN sale_id TEXT;")))
        && (credits.contains(QStringLiteral("sale_id"))
            || db.ExecuteDirect(QStringLiteral("ALTER TABLE veresiyeler ADD COLUMN sale_id TEXT;")))
        // Records stored before there were till sessions (a file without records gets the column with the table).
        && (records.isEmpty() || records.contains(QStringLiteral("session_id"))
            || db.ExecuteDirect(QStringLiteral("ALTER TABLE sale_records ADD COLUMN session_id TEXT;")))
        && db.ExecuteDirect(QString::fromUtf8(kTakingsSql)) && RecordOldSales(db)
        // A pragma takes no bound value; the number is the program's own.
        && db.ExecuteDirect(QStringLiteral("PRAGMA user_version = %1;").arg(fingerprint));
    if (migrated)
        transaction.commit();
}

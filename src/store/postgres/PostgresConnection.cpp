#include "store/postgres/PostgresConnection.h"

#include "store/postgres/PostgresAnswers.h"
#include "store/postgres/PostgresCursor.h"
#include "store/postgres/PostgresRowBatch.h"
#include "store/postgres/PostgresStatementText.h"
#include "store/ServerUrl.h"

#include <QCryptographicHash>

#include <libpq-fe.h>

#include <poll.h>

using namespace postgres;

namespace {

constexpr const char* kConnectTimeoutSeconds = "5";
// A quiet connection is probed after 4 s, then every 2 s, and given up after 3 probes without an answer; data
// sent stays unacknowledged for 10 s at most.
constexpr const char* kKeepalivesIdleSeconds = "4";
constexpr const char* kKeepalivesIntervalSeconds = "2";
constexpr const char* kKeepalivesCount = "3";
constexpr const char* kUnacknowledgedMilliseconds = "10000";

} // namespace

std::unique_ptr<PostgresConnection> PostgresConnection::connect(const QString& url, QString* error,
                                                                StatementLimits limits)
{
    const QByteArray location = url.toUtf8();
    // The URL's own settings come after ours and take their place.
    const char* keywords[] = {"connect_timeout",    "keepalives",         "keepalives_idle", "keepalives_interval",
                              "keepalives_count",   "tcp_user_timeout",   "client_encoding", "dbname",
                              nullptr};
    const char* values[] = {kConnectTimeoutSeconds,     "1",
                            kKeepalivesIdleSeconds,     kKeepalivesIntervalSeconds,
                            kKeepalivesCount,           kUnacknowledgedMilliseconds,
                            "UTF8",                     location.constData(),
                            nullptr};
    pg_conn* conn = PQconnectdbParams(keywords, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        if (error) // libpq may quote the URL, or a part of it it cannot read
            *error = WithoutPassword(ConnectionMessage(conn), url);
        PQfinish(conn);
        return nullptr;
    }
    std::unique_ptr<PostgresConnection> connection(new PostgresConnection(conn, limits));
    if (!connection->configureSession(error))
        return nullptr;
    return connection;
}

bool PostgresConnection::configureSession(QString* error)
{
    PQclear(PQexec(m_conn, "SET client_min_messages TO warning;"));
    const std::pair<const char*, int> limits[] = {{"statement_timeout", m_limits.statementSeconds},
                                                  {"lock_timeout", m_limits.lockSeconds}};
    for (const auto& [name, seconds] : limits) {
        if (seconds <= 0)
            continue; // the server's own setting
        const QByteArray milliseconds = QByteArray::number(qint64(seconds) * 1000);
        const char* values[] = {name, milliseconds.constData()};
        pg_result* answer = PQexecParams(m_conn, "SELECT set_config($1, $2, false);", 2, nullptr, values, nullptr,
                                         nullptr, 0);
        const bool set = PQresultStatus(answer) == PGRES_TUPLES_OK;
        if (!set && error)
            *error = ResultMessage(m_conn, answer);
        PQclear(answer);
        if (!set)
            return false;
    }
    return true;
}

PostgresConnection::~PostgresConnection()
{
    PQfinish(m_conn);
}

bool PostgresConnection::isConnected() const
{
    return PQstatus(m_conn) == CONNECTION_OK;
}

bool PostgresConnection::isWorthKeeping() const
{
    if (PQstatus(m_conn) != CONNECTION_OK || PQtransactionStatus(m_conn) != PQTRANS_IDLE)
        return false;
    pollfd socket{PQsocket(m_conn), POLLIN, 0};
    return poll(&socket, 1, 0) == 0;
}

bool PostgresConnection::reconnect(QString* error)
{
    m_prepared.clear(); // a new session has none of them
    PQreset(m_conn);
    if (isConnected())
        return configureSession(error);
    if (error)
        *error = ConnectionMessage(m_conn);
    return false;
}

bool PostgresConnection::run(const QString& sql, const std::vector<QVariant>& params, QueryResult* result,
                             QString* error)
{
    return runWith(sql, params, result, error, m_cancelled);
}

bool PostgresConnection::runWith(const QString& sql, const std::vector<QVariant>& params, QueryResult* result,
                                 QString* error, const std::function<bool()>& cancelled)
{
    bool sent = false;
    if (params.empty()) {
        sent = PQsendQuery(m_conn, PostgresStatementText(sql).constData());
    } else {
        const Prepared* statement = prepared(sql, static_cast<int>(params.size()), error);
        if (!statement)
            return false;
        const Parameters parameters(params);
        sent = PQsendQueryPrepared(m_conn, statement->name.constData(), parameters.count(), parameters.values(),
                                   nullptr, nullptr, 0);
    }
    bool interrupted = false;
    pg_result* answer = sent ? CollectAnswer(m_conn, cancelled, &interrupted) : nullptr;
    const ExecStatusType status = answer ? PQresultStatus(answer) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
        if (error)
            *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
        const bool answeredByServer = AnsweredByServer(answer);
        PQclear(answer);
        NoticeLostConnection(m_conn, answeredByServer);
        return false;
    }
    if (result && status == PGRES_TUPLES_OK) {
        const int columns = PQnfields(answer);
        const int rows = PQntuples(answer);
        result->columns.clear();
        for (int c = 0; c < columns; ++c)
            result->columns.push_back(QString::fromUtf8(PQfname(answer, c)));
        result->rows.clear();
        result->rows.reserve(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            std::vector<DbValue> row;
            row.reserve(static_cast<size_t>(columns));
            for (int c = 0; c < columns; ++c)
                row.push_back(Cell(answer, r, c));
            result->rows.push_back(std::move(row));
        }
    }
    PQclear(answer);
    return true;
}

const PostgresConnection::Prepared* PostgresConnection::prepared(const QString& sql, int valueCount, QString* error)
{
    const auto countMismatch = [&](int expected) {
        if (expected == valueCount)
            return false;
        if (error)
            *error = QStringLiteral("%1 values bound to a statement with %2 parameters").arg(valueCount).arg(expected);
        return true;
    };
    auto found = m_prepared.constFind(sql);
    if (found == m_prepared.constEnd()) {
        int expected = 0;
        const QByteArray text = PostgresStatementText(sql, &expected);
        if (countMismatch(expected))
            return nullptr;
        if (m_prepared.size() >= 64) {
            // The program has fewer statements than this; text built from data would otherwise pile up.
            PQclear(PQexec(m_conn, "DEALLOCATE ALL;"));
            m_prepared.clear();
        }
        const QByteArray name = "quenvale_" + QByteArray::number(++m_preparedCount);
        pg_result* answer = PQprepare(m_conn, name.constData(), text.constData(), 0, nullptr);
        const bool ok = answer && PQresultStatus(answer) == PGRES_COMMAND_OK;
        if (!ok && error)
            *error = ResultMessage(m_conn, answer);
        PQclear(answer);
        if (!ok)
            return nullptr;
        found = m_prepared.insert(sql, {name, expected});
    } else if (countMismatch(found->parameters)) {
        return nullptr;
    }
    return &*found;
}

std::unique_ptr<Cursor> PostgresConnection::prepare(const QString& sql, QString* error)
{
    int count = 0;
    QByteArray text = PostgresStatementText(sql, &count);
    if (text.trimmed().isEmpty()) {
        *error = QStringLiteral("Not an SQL statement");
        return nullptr;
    }
    return std::make_unique<PostgresCursor>(m_conn, std::move(text), count, m_cancelled);
}

bool PostgresConnection::copyIn(const QString& copyStatement, const QByteArray& rows, QString* error)
{
    bool interrupted = false;
    pg_result* answer = PQsendQuery(m_conn, copyStatement.toUtf8().constData())
                            ? CollectAnswer(m_conn, m_cancelled, &interrupted)
                            : nullptr;
    if (PQresultStatus(answer) != PGRES_COPY_IN) {
        *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
        PQclear(answer);
        return false;
    }
    PQclear(answer);
    const bool sent = PQputCopyData(m_conn, rows.constData(), int(rows.size())) == 1;
    if (PQputCopyEnd(m_conn, sent ? nullptr : "the rows could not be sent") != 1) {
        *error = ConnectionMessage(m_conn);
        return false;
    }
    answer = CollectAnswer(m_conn, m_cancelled, &interrupted);
    const bool stored = PQresultStatus(answer) == PGRES_COMMAND_OK;
    if (!stored)
        *error = interrupted ? QStringLiteral("interrupted") : ResultMessage(m_conn, answer);
    PQclear(answer);
    return stored;
}

std::unique_ptr<RowBatch> PostgresConnection::rowBatch(const QString& table, const std::vector<BatchColumn>& columns,
                                                       QString*)
{
    return std::make_unique<PostgresRowBatch>(*this, table, columns);
}

bool PostgresConnection::backupTo(const QString&, QString* error, const BackupSteps&)
{
    if (error)
        *error = QStringLiteral("A database on a server is backed up with the server's own tools");
    return false;
}

bool PostgresConnection::inTransaction() const
{
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

bool PostgresConnection::transactionFailed() const
{
    return PQtransactionStatus(m_conn) == PQTRANS_INERROR;
}

bool PostgresConnection::canCommit() const
{
    return isConnected() && !transactionFailed();
}

void PostgresConnection::rollback()
{
    if (isConnected() && inTransaction())
        runWith(QStringLiteral("ROLLBACK;"), {}, nullptr, nullptr, {});
}

qint64 PostgresConnection::lastInsertId()
{
    pg_result* answer = PQexec(m_conn, "SELECT lastval();");
    qint64 id = 0;
    if (PQresultStatus(answer) == PGRES_TUPLES_OK && PQntuples(answer) == 1)
        id = QByteArray(PQgetvalue(answer, 0, 0)).toLongLong();
    PQclear(answer);
    return id;
}

QStringList PostgresConnection::migrate()
{
    // The tables and columns of data.db (with the takings records of data/takings.sql), and the till (kasa) on
    // each sale and credit line. Texts compare byte by
    // byte as SQLite's do, dates are kept as the same "yyyy-MM-dd HH:mm:ss" text, prices are doubles as SQLite's
    // reals are, and ids are identity columns. schema_version keeps the fingerprint of each script that has
    // run, so any change to the script runs it once more on every database.
    static const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS schema_version (fingerprint text PRIMARY KEY);
CREATE TABLE IF NOT EXISTS urunler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  fiyat double precision,
  stok bigint DEFAULT 0,
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE TABLE IF NOT EXISTS musteriler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  musteriadi text COLLATE "C",
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE TABLE IF NOT EXISTS veresiyeler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  musteriid bigint,
  musteriadi text COLLATE "C",
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  adet bigint,
  fiyat double precision,
  odendimi integer DEFAULT 0,
  kayittarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS'),
  odemetarihi text COLLATE "C"
);
CREATE TABLE IF NOT EXISTS odemeler (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  fisno bigint DEFAULT 0,
  barkod text COLLATE "C",
  urunadi text COLLATE "C",
  adet bigint,
  fiyat double precision,
  odemetarihi text COLLATE "C" DEFAULT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
);
CREATE INDEX IF NOT EXISTS urunler_barkod ON urunler (barkod);
CREATE INDEX IF NOT EXISTS urunler_urunadi ON urunler (urunadi);
CREATE INDEX IF NOT EXISTS musteriler_musteriadi ON musteriler (musteriadi);
CREATE INDEX IF NOT EXISTS veresiyeler_musteriadi_odendimi ON veresiyeler (musteriadi, odendimi);
CREATE INDEX IF NOT EXISTS veresiyeler_kayittarihi ON veresiyeler (kayittarihi);
CREATE INDEX IF NOT EXISTS odemeler_odemetarihi ON odemeler (odemetarihi);
ALTER TABLE urunler ADD COLUMN IF NOT EXISTS stok bigint DEFAULT 0;
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS odemetarihi text COLLATE "C";
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS fisno bigint DEFAULT 0;
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS kasa text COLLATE "C";
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS kasa text COLLATE "C";

CREATE TABLE IF NOT EXISTS sale_records (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  sale_id text COLLATE "C" NOT NULL UNIQUE,
  till text COLLATE "C" NOT NULL,
  receipt_no bigint,
  recorded_at text COLLATE "C" NOT NULL,
  kind text COLLATE "C" NOT NULL,
  customer_id bigint,
  customer_name text COLLATE "C",
  subtotal_cents bigint NOT NULL,
  discount_cents bigint NOT NULL,
  total_cents bigint NOT NULL
);
CREATE INDEX IF NOT EXISTS sale_records_recorded_at ON sale_records (recorded_at);
CREATE INDEX IF NOT EXISTS sale_records_till_receipt_no ON sale_records (till, receipt_no);
CREATE TABLE IF NOT EXISTS tenders (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  sale_id text COLLATE "C" NOT NULL,
  position integer NOT NULL,
  tender_type text COLLATE "C" NOT NULL,
  amount_cents bigint NOT NULL,
  handed_cents bigint,
  change_cents bigint
);
CREATE INDEX IF NOT EXISTS tenders_sale_id ON tenders (sale_id);
CREATE TABLE IF NOT EXISTS tender_types (
  code text COLLATE "C" PRIMARY KEY,
  name text COLLATE "C" NOT NULL,
  enabled integer NOT NULL DEFAULT 1,
  built_in integer NOT NULL DEFAULT 0,
  position integer NOT NULL
);
INSERT INTO tender_types (code, name, enabled, built_in, position)
  VALUES ('Cash', 'Cash', 1, 1, 1), ('Card', 'Card', 1, 1, 2), ('Account', 'Account', 1, 1, 3)
  ON CONFLICT DO NOTHING;
ALTER TABLE odemeler ADD COLUMN IF NOT EXISTS sale_id text COLLATE "C";
ALTER TABLE veresiyeler ADD COLUMN IF NOT EXISTS sale_id text COLLATE "C";
CREATE INDEX IF NOT EXISTS odemeler_sale_id ON odemeler (sale_id);
CREATE INDEX IF NOT EXISTS veresiyeler_sale_id ON veresiyeler (sale_id);
CREATE OR REPLACE FUNCTION takings_records_are_never_changed() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN RAISE EXCEPTION ''takings records are never changed''; END';
CREATE OR REPLACE TRIGGER sale_records_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON sale_records
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE TRIGGER tenders_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON tenders
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE FUNCTION used_tender_types_stay() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN
     IF OLD.built_in <> 0 OR EXISTS (SELECT 1 FROM tenders WHERE tender_type = OLD.code) THEN
       RAISE EXCEPTION ''a payment type that was used is never removed'';
     END IF;
     RETURN OLD;
   END';
CREATE OR REPLACE TRIGGER tender_types_used_stay BEFORE DELETE ON tender_types
  FOR EACH ROW EXECUTE FUNCTION used_tender_types_stay();

-- Sales stored before there were records get one each, built from their lines: paid lines grouped by receipt
-- number, time and till, paid in cash (receipt number 0: a settlement of credit when credit lines were paid at
-- that time, with the customer of the first of them); credit lines grouped by customer, time and till, on
-- account. The lines then carry their record's id.
CREATE TEMP TABLE old_records ON COMMIT DROP AS
  SELECT 1 AS source, coalesce(fisno, 0) AS k_receipt, -1::bigint AS k_customer, ''::text AS k_name,
         coalesce(odemetarihi, '') AS recorded_at, coalesce(kasa, '') AS till,
         'sale'::text AS kind, NULL::bigint AS customer_id, NULL::text AS customer_name, 'Cash'::text AS tender_type,
         greatest(least(sum(round(fiyat * 100) * adet), 9e18), -9e18)::bigint AS total_cents, NULL::text AS sale_id
  FROM odemeler WHERE sale_id IS NULL GROUP BY 2, 5, 6
  UNION ALL
  SELECT 2, 0, coalesce(musteriid, -1), coalesce(musteriadi, ''), coalesce(kayittarihi, ''), coalesce(kasa, ''),
         'sale', min(musteriid), min(musteriadi), 'Account',
         greatest(least(sum(round(fiyat * 100) * adet), 9e18), -9e18)::bigint, NULL
  FROM veresiyeler WHERE sale_id IS NULL GROUP BY 3, 4, 5, 6;
ANALYZE old_records;
UPDATE old_records SET total_cents = 0 WHERE total_cents IS NULL;
UPDATE old_records g SET kind = 'settlement', customer_id = v.musteriid, customer_name = v.musteriadi
  FROM (SELECT DISTINCT ON (odemetarihi, coalesce(kasa, '')) odemetarihi, coalesce(kasa, '') AS till, musteriid,
               musteriadi
        FROM veresiyeler WHERE odendimi = 1 AND odemetarihi IS NOT NULL
        ORDER BY odemetarihi, coalesce(kasa, ''), id) v
  WHERE g.source = 1 AND g.k_receipt = 0 AND v.odemetarihi = g.recorded_at AND v.till = g.till;
UPDATE old_records SET sale_id = gen_random_uuid()::text;
INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, customer_id, customer_name, subtotal_cents,
                          discount_cents, total_cents)
  SELECT sale_id, till, nullif(k_receipt, 0), recorded_at, kind, customer_id, customer_name, total_cents, 0,
         total_cents
  FROM old_records ORDER BY recorded_at, source, k_receipt, till;
INSERT INTO tenders (sale_id, position, tender_type, amount_cents)
  SELECT sale_id, 1, tender_type, total_cents FROM old_records ORDER BY recorded_at, source, k_receipt, till;
UPDATE odemeler o SET sale_id = g.sale_id FROM old_records g
  WHERE o.sale_id IS NULL AND g.source = 1 AND g.k_receipt = coalesce(o.fisno, 0)
    AND g.recorded_at = coalesce(o.odemetarihi, '') AND g.till = coalesce(o.kasa, '');
UPDATE veresiyeler v SET sale_id = g.sale_id FROM old_records g
  WHERE v.sale_id IS NULL AND g.source = 2 AND g.k_customer = coalesce(v.musteriid, -1)
    AND g.k_name = coalesce(v.musteriadi, '') AND g.recorded_at = coalesce(v.kayittarihi, '')
    AND g.till = coalesce(v.kasa, '');
-- Till sessions and their Z reports (as data/takings.sql keeps them on data.db).
ALTER TABLE sale_records ADD COLUMN IF NOT EXISTS session_id text COLLATE "C";
CREATE TABLE IF NOT EXISTS till_sessions (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  session_id text COLLATE "C" NOT NULL UNIQUE,
  till text COLLATE "C" NOT NULL,
  sequence bigint NOT NULL,
  opened_at text COLLATE "C" NOT NULL,
  float_cents bigint NOT NULL,
  UNIQUE (till, sequence)
);
CREATE TABLE IF NOT EXISTS cash_movements (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  movement_id text COLLATE "C" NOT NULL UNIQUE,
  session_id text COLLATE "C" NOT NULL,
  till text COLLATE "C" NOT NULL,
  recorded_at text COLLATE "C" NOT NULL,
  kind text COLLATE "C" NOT NULL CHECK (kind IN ('in', 'out', 'drawer')),
  amount_cents bigint NOT NULL CHECK (amount_cents >= 0),
  reason text COLLATE "C"
);
CREATE INDEX IF NOT EXISTS cash_movements_session_id ON cash_movements (session_id);
CREATE TABLE IF NOT EXISTS z_reports (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  session_id text COLLATE "C" NOT NULL UNIQUE,
  till text COLLATE "C" NOT NULL,
  z_number bigint NOT NULL,
  closed_at text COLLATE "C" NOT NULL,
  sequence bigint NOT NULL,
  opened_at text COLLATE "C" NOT NULL,
  float_cents bigint NOT NULL,
  sales_count bigint NOT NULL,
  sales_cents bigint NOT NULL,
  discount_cents bigint NOT NULL,
  refunds_count bigint NOT NULL,
  refunds_cents bigint NOT NULL,
  cash_in_cents bigint NOT NULL,
  cash_out_cents bigint NOT NULL,
  credit_settled_cents bigint NOT NULL,
  cash_settlements_cents bigint NOT NULL,
  drawer_openings bigint NOT NULL,
  cash_taken_cents bigint NOT NULL,
  change_given_cents bigint NOT NULL,
  cash_refunded_cents bigint NOT NULL,
  expected_cash_cents bigint NOT NULL,
  counted_cash_cents bigint NOT NULL,
  difference_cents bigint NOT NULL,
  UNIQUE (till, z_number)
);
CREATE INDEX IF NOT EXISTS z_reports_closed_at ON z_reports (closed_at);
CREATE TABLE IF NOT EXISTS z_report_tenders (
  id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
  session_id text COLLATE "C" NOT NULL,
  position integer NOT NULL,
  tender_type text COLLATE "C" NOT NULL,
  sales_count bigint NOT NULL,
  sales_cents bigint NOT NULL,
  refunds_count bigint NOT NULL,
  refunds_cents bigint NOT NULL,
  UNIQUE (session_id, tender_type)
);
CREATE INDEX IF NOT EXISTS sale_records_session_id ON sale_records (session_id);
CREATE OR REPLACE TRIGGER till_sessions_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON till_sessions
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE TRIGGER cash_movements_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON cash_movements
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE TRIGGER z_reports_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON z_reports
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE TRIGGER z_report_tenders_never_changed BEFORE UPDATE OR DELETE OR TRUNCATE ON z_report_tenders
  FOR EACH STATEMENT EXECUTE FUNCTION takings_records_are_never_changed();
CREATE OR REPLACE FUNCTION till_sessions_one_open() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN
     IF NEW.sequence <> 1 + coalesce((SELECT max(sequence) FROM till_sessions WHERE till = NEW.till), 0)
        OR EXISTS (SELECT 1 FROM till_sessions s WHERE s.till = NEW.till AND s.sequence = NEW.sequence - 1
                   AND NOT EXISTS (SELECT 1 FROM z_reports z WHERE z.session_id = s.session_id)) THEN
       RAISE EXCEPTION ''a till has one open session'';
     END IF;
     RETURN NEW;
   END';
CREATE OR REPLACE TRIGGER till_sessions_one_open BEFORE INSERT ON till_sessions
  FOR EACH ROW EXECUTE FUNCTION till_sessions_one_open();
CREATE OR REPLACE FUNCTION takings_in_open_session() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN
     IF NEW.session_id IS NOT NULL
        AND (NOT EXISTS (SELECT 1 FROM till_sessions WHERE session_id = NEW.session_id AND till = NEW.till)
             OR EXISTS (SELECT 1 FROM z_reports WHERE session_id = NEW.session_id)) THEN
       RAISE EXCEPTION ''a record belongs to an open session of its till'';
     END IF;
     RETURN NEW;
   END';
CREATE OR REPLACE TRIGGER sale_records_in_open_session BEFORE INSERT ON sale_records
  FOR EACH ROW EXECUTE FUNCTION takings_in_open_session();
CREATE OR REPLACE TRIGGER cash_movements_in_open_session BEFORE INSERT ON cash_movements
  FOR EACH ROW EXECUTE FUNCTION takings_in_open_session();
CREATE OR REPLACE FUNCTION z_reports_once_per_session() RETURNS trigger LANGUAGE plpgsql AS
  'BEGIN
     IF NOT EXISTS (SELECT 1 FROM till_sessions WHERE session_id = NEW.session_id AND till = NEW.till)
        OR NEW.z_number <> 1 + coalesce((SELECT max(z_number) FROM z_reports WHERE till = NEW.till), 0) THEN
       RAISE EXCEPTION ''a session is closed once, by the next Z of its till'';
     END IF;
     RETURN NEW;
   END';
CREATE OR REPLACE TRIGGER z_reports_once_per_session BEFORE INSERT ON z_reports
  FOR EACH ROW EXECUTE FUNCTION z_reports_once_per_session();
)";
    static const QByteArray kFingerprint = QCryptographicHash::hash(kSchema, QCryptographicHash::Sha256).toHex();
    const char* fingerprint[] = {kFingerprint.constData()};
    QString error;
    const auto ranWell = [this, &error](pg_result* answer, ExecStatusType wanted) {
        const bool well = PQresultStatus(answer) == wanted;
        if (!well)
            error = ResultMessage(m_conn, answer);
        PQclear(answer);
        return well;
    };

    // Nearly every start finds the schema as this script makes it: one look at the small table, which takes no
    // lock another till's statement could wait for. Running the script anyway would take each table's strongest
    // lock (ALTER TABLE does, even when the column is there): the start would wait for any long read of another
    // till, and every statement on that table would queue behind it. (On a database without the table the look
    // fails, and the script runs.)
    pg_result* found = PQexecParams(m_conn, "SELECT 1 FROM schema_version WHERE fingerprint = $1;", 1, nullptr,
                                    fingerprint, nullptr, nullptr, 0);
    const bool current = PQresultStatus(found) == PGRES_TUPLES_OK && PQntuples(found) == 1;
    PQclear(found);
    if (current)
        return {};

    // Two tills starting at once take turns (the advisory lock ends with the transaction). Building an index on a
    // big table may take longer than a till's statement may; the wait for a lock stays limited.
    const bool migrated =
        ranWell(PQexec(m_conn, "BEGIN; SET LOCAL statement_timeout = 0; SELECT pg_advisory_xact_lock(7305);"),
                PGRES_TUPLES_OK)
        && runWith(QString::fromUtf8(kSchema), {}, nullptr, &error, {})
        && ranWell(PQexecParams(m_conn, "INSERT INTO schema_version (fingerprint) VALUES ($1) ON CONFLICT DO NOTHING;",
                                1, nullptr, fingerprint, nullptr, nullptr, 0),
                   PGRES_COMMAND_OK)
        && ranWell(PQexec(m_conn, "COMMIT;"), PGRES_COMMAND_OK);
    if (migrated)
        return {};
    if (inTransaction())
        PQclear(PQexec(m_conn, "ROLLBACK;"));
    return {error};
}

void PostgresConnection::forgetSchemaVersion()
{
    PQclear(PQexec(m_conn, "DELETE FROM schema_version;"));
}

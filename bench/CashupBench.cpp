#include "CashupBench.h"

#include "RawServer.h"
#include "ServerDataSet.h"

#include "cashup/SessionFigures.h"
#include "cashup/TillSessions.h"
#include "cashup/ZReports.h"
#include "store/Database.h"
#include "store/Transaction.h"

#include <QFile>
#include <QHash>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

const QDateTime kEvening(QDate(2025, 3, 1), QTime(20, 0));
const QString kDay = QStringLiteral("2025-03-01");

// Rows of a raw statement as texts; every statement takes its values as $1, $2, ... on both engines.
using Rows = std::vector<std::vector<QByteArray>>;
using RawQuery = std::function<Rows(const char* sql, const std::vector<QByteArray>& values)>;

// sqlite3 without the program: each statement prepared once, values bound as text.
class RawSqlite
{
public:
    explicit RawSqlite(const QString& path) { sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr); }
    ~RawSqlite()
    {
        for (auto& [sql, statement] : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    Rows query(const char* sql, const std::vector<QByteArray>& values)
    {
        sqlite3_stmt*& statement = m_statements[sql];
        if (!statement)
            sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        sqlite3_reset(statement);
        for (size_t i = 0; i < values.size(); ++i)
            sqlite3_bind_text(statement, int(i + 1), values[i].constData(), int(values[i].size()), SQLITE_STATIC);
        Rows rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<QByteArray> row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                 sqlite3_column_bytes(statement, c));
            rows.push_back(std::move(row));
        }
        return rows;
    }

private:
    sqlite3* m_db = nullptr;
    std::map<const char*, sqlite3_stmt*> m_statements;
};

// libpq without the program: each statement prepared once by name.
class RawPostgres
{
public:
    explicit RawPostgres(const QString& url) : m_server(url) {}
    bool isOpen() const { return m_server.isOpen(); }
    Rows query(const char* sql, const std::vector<QByteArray>& values)
    {
        QByteArray& name = m_names[sql];
        if (name.isEmpty()) {
            name = "cashup" + QByteArray::number(qint64(m_names.size()));
            m_server.prepare(name.constData(), sql);
        }
        std::vector<const char*> pointers;
        for (const QByteArray& value : values)
            pointers.push_back(value.constData());
        RawResult result(PQexecPrepared(m_server.get(), name.constData(), int(pointers.size()), pointers.data(), nullptr,
                                        nullptr, 0));
        Rows rows;
        for (int r = 0; r < result.rows(); ++r) {
            std::vector<QByteArray> row;
            for (int c = 0; c < PQnfields(result.get()); ++c)
                row.emplace_back(result.cell(r, c), result.length(r, c));
            rows.push_back(std::move(row));
        }
        return rows;
    }

private:
    RawServer m_server;
    std::map<const char*, QByteArray> m_names;
};

// Opens the session of the till with a float and stores its sales in it, a third each in cash (with change), by
// card and split between cash and card, with a few cash movements. Gives the session.
QString FillSession(Database& db, const QString& till, int sales)
{
    db.setTillName(till);
    QString refusal;
    if (!OpenTill(db, 10000, &refusal))
        return QString();
    const QString session = *OpenSessionOf(db, till);
    Transaction transaction(db);
    const bool stored =
        transaction.active()
        && db.ExecuteDirect(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                           "INSERT INTO sale_records (sale_id, till, receipt_no, recorded_at, kind, subtotal_cents, "
                           "discount_cents, total_cents, session_id) "
                           "SELECT CAST(? AS text) || '-' || CAST(i AS text), CAST(? AS text), i, "
                           "'2025-03-01 12:00:00', 'sale', 100 + i % 900 + i % 10, i % 10, 100 + i % 900, CAST(? AS text) "
                           "FROM n;"),
            {sales, session, till, session})
        && db.ExecuteDirect(
            QStringLiteral("INSERT INTO tenders (sale_id, position, tender_type, amount_cents, handed_cents, change_cents) "
                           "SELECT sale_id, 1, CASE WHEN receipt_no % 3 = 1 THEN 'Card' ELSE 'Cash' END, "
                           "CASE WHEN receipt_no % 3 = 2 THEN total_cents - 50 ELSE total_cents END, "
                           "CASE WHEN receipt_no % 3 = 0 THEN total_cents + 100 END, "
                           "CASE WHEN receipt_no % 3 = 0 THEN 100 END FROM sale_records WHERE session_id = ?;"),
            {session})
        && db.ExecuteDirect(
            QStringLiteral("INSERT INTO tenders (sale_id, position, tender_type, amount_cents) SELECT sale_id, 2, 'Card', "
                           "50 FROM sale_records WHERE session_id = ? AND receipt_no % 3 = 2;"),
            {session})
        && transaction.commit();
    if (!stored)
        return QString();
    for (int i = 0; i < 5; ++i) {
        RecordCashMovement(db, CashMovementKind::In, 1000, QStringLiteral("change"));
        RecordCashMovement(db, CashMovementKind::Out, 700, QStringLiteral("stamps"));
        RecordCashMovement(db, CashMovementKind::Drawer, 0, QString());
    }
    return session;
}

qint64 Integer(const QByteArray& text)
{
    return text.toLongLong();
}

struct RawFigures
{
    qint64 salesCount = 0, salesCents = 0, discountCents = 0, refundsCount = 0, refundsCents = 0, settled = 0;
    QHash<QByteArray, std::array<qint64, 4>> byType;
    qint64 expectedCash = 0;
};

// The X figures as raw SQL reads and adds them up: the session, its records by kind, their tenders by kind and
// type, its movements by kind.
RawFigures RawSessionFigures(const RawQuery& query, const QByteArray& session)
{
    const Rows opened = query("SELECT float_cents, till, opened_at, sequence FROM till_sessions WHERE session_id = $1;",
                              {session});
    RawFigures f;
    qint64 &salesCount = f.salesCount, &salesCents = f.salesCents, &discountCents = f.discountCents,
           &refundsCount = f.refundsCount, &refundsCents = f.refundsCents, &settled = f.settled;
    for (const auto& row : query("SELECT kind, count(*), sum(total_cents), sum(discount_cents) FROM sale_records "
                                 "WHERE session_id = $1 GROUP BY kind;",
                                 {session})) {
        if (row[0] == "sale") {
            salesCount += Integer(row[1]);
            salesCents += Integer(row[2]);
            discountCents += Integer(row[3]);
        } else if (row[0] == "refund") {
            refundsCount += Integer(row[1]);
            refundsCents -= Integer(row[2]);
        } else {
            settled += Integer(row[2]);
        }
    }
    QHash<QByteArray, std::array<qint64, 4>>& byType = f.byType;
    qint64 cash = 0;
    for (const auto& row : query("SELECT r.kind, t.tender_type, count(*), sum(t.amount_cents), "
                                 "sum(coalesce(t.handed_cents, t.amount_cents + coalesce(t.change_cents, 0))), "
                                 "sum(coalesce(t.change_cents, 0)) FROM sale_records r JOIN tenders t ON t.sale_id = "
                                 "r.sale_id WHERE r.session_id = $1 GROUP BY r.kind, t.tender_type;",
                                 {session})) {
        auto& type = byType[row[1]];
        const bool refund = row[0] == "refund";
        type[refund ? 2 : 0] += Integer(row[2]);
        type[refund ? 3 : 1] += Integer(row[3]);
        if (row[1] == "Cash")
            cash += row[0] == "sale" ? Integer(row[4]) - Integer(row[5]) : Integer(row[3]);
    }
    for (const auto& row : query("SELECT kind, count(*), sum(amount_cents) FROM cash_movements WHERE session_id = $1 "
                                 "GROUP BY kind;",
                                 {session}))
        cash += row[0] == "in" ? Integer(row[2]) : row[0] == "out" ? -Integer(row[2]) : 0;
    f.expectedCash = (opened.empty() ? 0 : Integer(opened[0][0])) + cash;
    return f;
}

// The day summary as raw SQL reads and adds it up: the day's Z reports with their tender lines, and the tills
// still open.
qint64 RawDayTotal(const RawQuery& query)
{
    const QByteArray from = kDay.toLatin1();
    const QByteArray until = QByteArrayLiteral("2025-03-02");
    std::array<qint64, 20> total{};
    for (const auto& row : query("SELECT till, z_number, closed_at, session_id, sequence, opened_at, float_cents, "
                                 "sales_count, sales_cents, discount_cents, refunds_count, refunds_cents, cash_in_cents, "
                                 "cash_out_cents, credit_settled_cents, cash_settlements_cents, drawer_openings, "
                                 "cash_taken_cents, change_given_cents, cash_refunded_cents, expected_cash_cents, "
                                 "counted_cash_cents, difference_cents FROM z_reports WHERE closed_at >= $1 AND "
                                 "closed_at < $2 ORDER BY till, z_number;",
                                 {from, until}))
        for (size_t c = 6; c < row.size(); ++c)
            total[c - 6] += Integer(row[c]);
    QHash<QByteArray, std::array<qint64, 4>> byType;
    for (const auto& row : query("SELECT session_id, tender_type, sales_count, sales_cents, refunds_count, refunds_cents "
                                 "FROM z_report_tenders WHERE session_id IN (SELECT session_id FROM z_reports WHERE "
                                 "closed_at >= $1 AND closed_at < $2) ORDER BY session_id, position;",
                                 {from, until})) {
        auto& type = byType[row[1]];
        for (int c = 0; c < 4; ++c)
            type[c] += Integer(row[2 + c]);
    }
    const Rows open = query("SELECT till FROM till_sessions s WHERE opened_at < $1 AND NOT EXISTS (SELECT 1 FROM "
                            "z_reports z WHERE z.session_id = s.session_id) ORDER BY till;",
                            {until});
    return total[14] + qint64(open.size());
}

// One database of either engine with the program's connection and a raw one.
struct Shop
{
    Database db;
    QString failure;
    RawQuery raw;
};

bool OpenShop(Shop& shop, const QString& pathOrUrl)
{
    shop.db.setErrorReporter([&shop](const QString& message) { shop.failure = message; });
    shop.db.setClock([] { return kEvening; });
    if (!shop.db.open(pathOrUrl))
        return false;
    shop.db.Migrate();
    return shop.failure.isEmpty();
}

} // namespace

std::vector<BenchResult> RunCashupBenchmarks(const QString& folder, const QString& serverUrl, bool xReport,
                                             bool daySummary)
{
    std::vector<BenchResult> results;
    struct Engine
    {
        QString pathOrUrl;
        std::unique_ptr<ServerDataSet> server;
    };
    const auto freshFile = [&folder](const char* name) {
        const QString path = folder + QLatin1String(name);
        QFile::remove(path);
        QFile::copy(folder + QStringLiteral("empty.db"), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    };
    // The same operation on data.db and, when there is a server, on a database of its own there.
    const auto measure = [&](const char* id, const char* name, const char* file, const char* purpose,
                             const std::function<QString(Shop&)>& fill,
                             const std::function<void(Shop&, const QString&)>& program,
                             const std::function<void(const RawQuery&, const QString&)>& baseline) {
        BenchResult result;
        for (const bool onServer : {false, true}) {
            ServerFigures figures;
            std::unique_ptr<ServerDataSet> server;
            Shop shop;
            std::unique_ptr<RawSqlite> rawSqlite;
            std::unique_ptr<RawPostgres> rawServer;
            QString pathOrUrl;
            if (!onServer) {
                pathOrUrl = freshFile(file);
            } else if (serverUrl.isEmpty()) {
                figures.state = ServerFigures::State::NotGiven;
                figures.reason = QStringLiteral("not given (QUENVALE_TEST_PG_URL is unset)");
                result.server = figures;
                continue;
            } else {
                server = std::make_unique<ServerDataSet>(serverUrl, QString(), QString::fromLatin1(purpose));
                pathOrUrl = server->url();
            }
            QString ready;
            if (!OpenShop(shop, pathOrUrl) || (ready = fill(shop)).isEmpty()) {
                figures.state = ServerFigures::State::Failed;
                figures.reason = shop.failure.isEmpty() ? QStringLiteral("the data could not be stored") : shop.failure;
                if (onServer)
                    result.server = figures;
                else
                    std::printf("  %s: %s\n", id, qPrintable(figures.reason));
                continue;
            }
            if (onServer) {
                rawServer = std::make_unique<RawPostgres>(pathOrUrl);
                shop.raw = [&rawServer](const char* sql, const std::vector<QByteArray>& values) {
                    return rawServer->query(sql, values);
                };
            } else {
                rawSqlite = std::make_unique<RawSqlite>(pathOrUrl);
                shop.raw = [&rawSqlite](const char* sql, const std::vector<QByteArray>& values) {
                    return rawSqlite->query(sql, values);
                };
            }
            BenchOperation op{QString::fromLatin1(id), QString::fromLatin1(name), 1.5, 15, {}, {}, {}};
            op.program = [&] { program(shop, ready); };
            op.baseline = [&] { baseline(shop.raw, ready); };
            if (onServer) {
                result.server = RunOnServer(op);
            } else {
                const ServerFigures kept = result.server;
                result = RunOperation(op);
                result.server = kept;
            }
        }
        results.push_back(result);
    };

    if (xReport) {
        std::printf("B10: a session of 10,000 sales...\n");
        std::fflush(stdout);
        measure("B10", "X report of a session of 10,000 sales", "cashup-x.db", "cashup_x",
                [](Shop& shop) { return FillSession(shop.db, QStringLiteral("bench"), 10000); },
                [](Shop& shop, const QString& session) {
                    const std::optional<SessionFigures> figures = ReadSessionFigures(shop.db, session);
                    if (!figures || figures->salesCount != 10000)
                        std::printf("  B10: the figures are wrong\n");
                },
                [](const RawQuery& raw, const QString& session) { (void)RawSessionFigures(raw, session.toLatin1()); });
    }
    if (daySummary) {
        std::printf("B11: 20 tills with 2,000 sales each, closed...\n");
        std::fflush(stdout);
        measure("B11", "day summary of 20 tills x 2,000 sales", "cashup-day.db", "cashup_day",
                [](Shop& shop) {
                    for (int till = 1; till <= 20; ++till) {
                        if (FillSession(shop.db, QStringLiteral("till-%1").arg(till, 2, 10, QLatin1Char('0')), 2000)
                                .isEmpty())
                            return QString();
                        QString refusal;
                        if (!CloseTill(shop.db, 500000, &refusal))
                            return QString();
                    }
                    return kDay;
                },
                [](Shop& shop, const QString& day) {
                    const std::optional<DaySummary> summary = ReadDaySummary(shop.db, day);
                    if (!summary || summary->tills.size() != 20)
                        std::printf("  B11: the summary is wrong\n");
                },
                [](const RawQuery& raw, const QString&) { (void)RawDayTotal(raw); });
    }
    return results;
}

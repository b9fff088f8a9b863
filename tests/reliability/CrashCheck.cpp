#include "CrashCheck.h"

#include "CrashPlan.h"

#include "core/SettingsStore.h"
#include "platform/TextFile.h"
#include "pos/Money.h"
#include "cashup/SessionFigures.h"
#include "store/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

using crashplan::Kind;

struct StoredLine
{
    QString barcode;
    QString name;
    qint64 quantity = 0;
    qint64 priceCents = 0;
    qint64 receiptNumber = 0;   // odemeler
    qint64 customerId = 0;      // veresiyeler
    QString customerName;       // veresiyeler
    qint64 paid = 0;            // veresiyeler
};

// Decodes a file the program writes as UTF-8 with a byte-order mark and CR LF after every line; empty when it
// is not whole.
bool ReadWholeTextFile(const QString& path, QStringList& lines, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("cannot be read");
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        why = QStringLiteral("does not start with a byte-order mark");
        return false;
    }
    if (!bytes.endsWith("\r\n")) {
        why = QStringLiteral("does not end in CR LF");
        return false;
    }
    QString text;
    if (!DecodeText(bytes, TextEncoding::Utf8, 1252, text)) {
        why = QStringLiteral("is not valid UTF-8");
        return false;
    }
    lines = SplitLines(text);
    return true;
}

// Plans are rebuilt once per sale, file contents once per version of a file: the check runs after every kill.
const crashplan::Sale& CachedPlan(quint32 seed, int run, int index)
{
    // A node-based map: the references handed out stay valid as it grows.
    static std::map<std::tuple<quint32, int, int>, crashplan::Sale> plans;
    const auto key = std::make_tuple(seed, run, index);
    auto it = plans.find(key);
    if (it == plans.end())
        it = plans.emplace(key, crashplan::PlanSale(seed, run, index)).first;
    return it->second;
}

// What a receipt file says, worked out once per version of the file (a new version is a new inode, as the
// program replaces files by renaming).
struct ReceiptFacts
{
    bool whole = false;
    QString why;            // when not whole
    bool complete = false;  // first line "No <number>", last line the template's
    QString saleId;         // the sale of its first list line
    bool showsSale = false; // exactly that sale's lines and total
};

const ReceiptFacts& FactsOfReceipt(const QString& path, qint64 number, quint32 seed)
{
    struct Seen
    {
        QDateTime modified;
        qint64 size = 0;
        qint64 inode = 0;
        ReceiptFacts facts;
    };
    static QHash<QString, Seen> seen;
    const QFileInfo info(path);
    struct stat status {};
    const qint64 inode = ::stat(QFile::encodeName(path).constData(), &status) == 0 ? qint64(status.st_ino) : -1;
    const auto it = seen.constFind(path);
    if (it != seen.cend() && it->modified == info.lastModified() && it->size == info.size() && it->inode == inode)
        return it->facts;

    ReceiptFacts facts;
    QStringList lines;
    facts.whole = ReadWholeTextFile(path, lines, facts.why);
    facts.complete = facts.whole && lines.size() >= 4 && lines.first() == QStringLiteral("No %1").arg(number)
                     && lines.last() == crashplan::TemplateLastLine();
    static const QRegularExpression listBarcode(QStringLiteral("(R\\d+S\\d+)L\\d+ \\("));
    const QRegularExpressionMatch match = facts.complete ? listBarcode.match(lines.at(1)) : QRegularExpressionMatch();
    int run = 0;
    int index = 0;
    if (match.hasMatch() && crashplan::ParseSaleId(match.captured(1), run, index)) {
        facts.saleId = match.captured(1);
        const crashplan::Sale& sale = CachedPlan(seed, run, index);
        QStringList expected{QStringLiteral("No %1").arg(number)};
        qint64 total = 0;
        for (const crashplan::Line& line : sale.lines) {
            expected << crashplan::ReceiptLine(line);
            total += line.priceCents * line.quantity;
        }
        expected << QStringLiteral("Total $ ") + MoneyText(double(total) / 100) << crashplan::TemplateLastLine();
        facts.showsSale = lines == expected;
    }
    return seen.insert(path, Seen{info.lastModified(), info.size(), inode, facts})->facts;
}

} // namespace

CrashCheckResult CheckCrashState(const QString& programFolder, quint32 seed, const QSet<QString>& startedSales,
                                 int detailFromRun)
{
    CrashCheckResult result;
    QStringList& problems = result.problems;
    const QString folder = programFolder.endsWith(QLatin1Char('/')) ? programFolder : programFolder + QLatin1Char('/');

    // ---- the database, opened as the program opens it (a hot journal is rolled back here) ----
    Database db;
    db.setErrorReporter([&problems](const QString& message) { problems << QStringLiteral("database: ") + message; });
    if (!db.open(folder + QStringLiteral("data.db")))
        return result;
    const QueryResult integrity = db.Query(QStringLiteral("PRAGMA integrity_check;"));
    if (integrity.size() != 1 || integrity.rows[0][0].asText() != QLatin1String("ok"))
        problems << QStringLiteral("integrity_check is not ok");

    QHash<QString, qint64> customerIds;
    for (Statement rows = db.prepare(QStringLiteral("SELECT id, musteriadi FROM musteriler;")); rows.next();)
        customerIds.insert(rows.text(1), rows.integer(0));

    // Every sale as SQLite adds it up: its products and their stock, its stored lines and units, its receipt
    // numbers. This runs after every kill over everything stored so far, so the sums are left to the engine.
    struct Totals
    {
        qint64 products = 0;
        qint64 stock = 0;
        qint64 paidLines = 0;
        qint64 paidUnits = 0;
        qint64 firstReceipt = 0;
        qint64 lastReceipt = 0;
        qint64 creditLines = 0;
        qint64 creditUnits = 0;
    };
    QHash<QString, Totals> totals;
    const QString saleOfRow = QStringLiteral("substr(barkod, 1, instr(barkod, 'L') - 1)");
    for (Statement rows = db.prepare(QStringLiteral("SELECT %1, count(*), sum(stok), count(DISTINCT barkod) FROM "
                                                    "urunler GROUP BY 1;")
                                         .arg(saleOfRow));
         rows.next();) {
        Totals& t = totals[rows.text(0)];
        t.products = rows.integer(1);
        t.stock = rows.integer(2);
        if (rows.integer(3) != t.products)
            problems << QStringLiteral("a product of sale %1 stored twice").arg(rows.text(0));
    }
    for (Statement rows = db.prepare(QStringLiteral("SELECT %1, count(*), sum(adet), min(fisno), max(fisno) FROM "
                                                    "odemeler GROUP BY 1;")
                                         .arg(saleOfRow));
         rows.next();) {
        Totals& t = totals[rows.text(0)];
        t.paidLines = rows.integer(1);
        t.paidUnits = rows.integer(2);
        t.firstReceipt = rows.integer(3);
        t.lastReceipt = rows.integer(4);
    }
    for (Statement rows = db.prepare(
             QStringLiteral("SELECT %1, count(*), sum(adet) FROM veresiyeler GROUP BY 1;").arg(saleOfRow));
         rows.next();) {
        Totals& t = totals[rows.text(0)];
        t.creditLines = rows.integer(1);
        t.creditUnits = rows.integer(2);
    }
    for (auto it = totals.cbegin(); it != totals.cend(); ++it) {
        if (!startedSales.contains(it.key()))
            problems << QStringLiteral("rows of a sale that was never started: '%1'").arg(it.key());
    }

    // The recent sales also line by line: name, quantity, price, account and stock of each.
    QHash<QString, QHash<QString, qint64>> stockBySale; // sale -> barcode -> stock
    QHash<QString, std::vector<StoredLine>> linesBySale;
    const QString recent = QStringLiteral(" WHERE CAST(substr(barkod, 2, instr(barkod, 'S') - 2) AS INTEGER) >= ?;");
    auto prepareRecent = [&](const QString& select) {
        Statement rows = db.prepare(select + recent);
        rows.bind(1, detailFromRun);
        return rows;
    };
    for (Statement rows = prepareRecent(QStringLiteral("SELECT barkod, stok FROM urunler")); rows.next();) {
        const QString barcode = rows.text(0);
        stockBySale[crashplan::SaleIdOfBarcode(barcode)].insert(barcode, rows.integer(1));
    }
    for (Statement rows = prepareRecent(QStringLiteral("SELECT fisno, barkod, urunadi, adet, fiyat FROM odemeler"));
         rows.next();) {
        StoredLine line;
        line.receiptNumber = rows.integer(0);
        line.barcode = rows.text(1);
        line.name = rows.text(2);
        line.quantity = rows.integer(3);
        line.priceCents = std::llround(rows.real(4) * 100);
        linesBySale[crashplan::SaleIdOfBarcode(line.barcode)].push_back(line);
    }
    for (Statement rows = prepareRecent(
             QStringLiteral("SELECT musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi FROM veresiyeler"));
         rows.next();) {
        StoredLine line;
        line.customerId = rows.integer(0);
        line.customerName = rows.text(1);
        line.barcode = rows.text(2);
        line.name = rows.text(3);
        line.quantity = rows.integer(4);
        line.priceCents = std::llround(rows.real(5) * 100);
        line.paid = rows.integer(6);
        linesBySale[crashplan::SaleIdOfBarcode(line.barcode)].push_back(line);
    }
    // ---- the till's session: the first sale opened it and every later start goes on with it (the test never
    // closes it); every record is in it, and its figures add up to the records ----
    const QueryResult sessions = db.Query(QStringLiteral("SELECT session_id FROM till_sessions;"));
    if (sessions.size() > 1)
        problems << QStringLiteral("%1 till sessions, where the first sale opened the only one").arg(sessions.size());
    if (db.Query(QStringLiteral("SELECT count(*) AS n FROM z_reports;")).value(0, QStringLiteral("n")).asInteger() != 0)
        problems << QStringLiteral("a Z report, where no till was closed");
    const QueryResult outside = db.Query(QStringLiteral(
        "SELECT count(*) AS n FROM sale_records WHERE session_id IS NULL OR session_id NOT IN (SELECT session_id FROM "
        "till_sessions);"));
    if (outside.value(0, QStringLiteral("n")).asInteger() != 0)
        problems << QStringLiteral("%1 records outside the till's session").arg(outside.value(0, QStringLiteral("n")).asInteger());
    if (sessions.size() == 1) {
        result.sessionId = sessions.text(0, QStringLiteral("session_id"));
        const std::optional<SessionFigures> figures = ReadSessionFigures(db, result.sessionId);
        const QueryResult records = db.Query(
            QStringLiteral("SELECT count(*) AS n, coalesce(sum(total_cents), 0) AS total FROM sale_records;"));
        qint64 tendered = 0;
        for (const TenderFigures& tender : figures ? figures->tenders : std::vector<TenderFigures>())
            tendered += tender.salesCents;
        if (!figures || figures->salesCount != records.value(0, QStringLiteral("n")).asInteger()
            || figures->salesCents != records.value(0, QStringLiteral("total")).asInteger() || tendered != figures->salesCents)
            problems << QStringLiteral("the session's figures do not add up to its records");
    }
    db.close();

    // ---- every started sale: whole or absent; absent only when the kill came during it, as the last one the
    // run started (an earlier one missing went somewhere else, or was lost) ----
    QHash<int, int> lastStarted; // run -> index of the last sale it started
    for (const QString& id : startedSales) {
        int run = 0;
        int index = 0;
        if (crashplan::ParseSaleId(id, run, index))
            lastStarted[run] = std::max(lastStarted.value(run, -1), index);
    }
    std::map<qint64, QString> saleByReceiptNumber; // cash sales stored
    QHash<QString, const crashplan::Sale*> wholeSales;
    static const QStringList kCustomers = crashplan::Customers();
    for (const QString& id : startedSales) {
        int run = 0;
        int index = 0;
        if (!crashplan::ParseSaleId(id, run, index)) {
            problems << QStringLiteral("bad sale id in the log: ") + id;
            continue;
        }
        const crashplan::Sale& plan = CachedPlan(seed, run, index);
        const bool cash = plan.kind == Kind::Cash;
        const qint64 planLines = qint64(plan.lines.size());
        qint64 planUnits = 0;
        for (const crashplan::Line& line : plan.lines)
            planUnits += line.quantity;
        const Totals t = totals.value(id);
        const qint64 lines = cash ? t.paidLines : t.creditLines;
        const qint64 units = cash ? t.paidUnits : t.creditUnits;

        QStringList faults;
        if (t.products != 0 && t.products != planLines)
            faults << QStringLiteral("%1 of its %2 products stored").arg(t.products).arg(planLines);
        if ((cash ? t.creditLines : t.paidLines) != 0)
            faults << QStringLiteral("lines in the wrong table");
        if (lines == 0) {
            if (t.stock != t.products * crashplan::kInitialStock)
                faults << QStringLiteral("stock lowered without a stored line");
        } else {
            if (lines != planLines || units != planUnits)
                faults << QStringLiteral("%1 of its %2 lines stored, %3 of its %4 units")
                              .arg(lines)
                              .arg(planLines)
                              .arg(units)
                              .arg(planUnits);
            if (t.stock != planLines * crashplan::kInitialStock - planUnits)
                faults << QStringLiteral("stock lowered by %1 for %2 units sold")
                              .arg(planLines * crashplan::kInitialStock - t.stock)
                              .arg(planUnits);
            if (cash && t.firstReceipt != t.lastReceipt)
                faults << QStringLiteral("lines under receipt numbers %1 to %2").arg(t.firstReceipt).arg(t.lastReceipt);
        }

        if (run >= detailFromRun && lines != 0) {
            static const QHash<QString, qint64> kNoStock;
            static const std::vector<StoredLine> kNoLines;
            const auto stockIt = stockBySale.constFind(id);
            const QHash<QString, qint64>& stock = stockIt == stockBySale.cend() ? kNoStock : *stockIt;
            const auto linesIt = linesBySale.constFind(id);
            QHash<QString, const StoredLine*> byBarcode;
            for (const StoredLine& line : linesIt == linesBySale.cend() ? kNoLines : *linesIt)
                byBarcode.insert(line.barcode, &line);
            for (const crashplan::Line& planned : plan.lines) {
                const StoredLine* line = byBarcode.value(planned.barcode);
                if (!line) {
                    faults << QStringLiteral("line %1 missing").arg(planned.barcode);
                    continue;
                }
                if (line->name != planned.name || line->quantity != planned.quantity
                    || line->priceCents != planned.priceCents)
                    faults << QStringLiteral("line %1 stored as %2 x%3 at %4 cents")
                                  .arg(planned.barcode, line->name)
                                  .arg(line->quantity)
                                  .arg(line->priceCents);
                if (!cash) {
                    const QString& customer = kCustomers.at(plan.customer);
                    if (line->customerName != customer || line->customerId != customerIds.value(customer, -1)
                        || line->paid != 0)
                        faults << QStringLiteral("line %1 on the wrong account").arg(planned.barcode);
                }
                const qint64 expected = crashplan::kInitialStock - planned.quantity;
                if (stock.value(planned.barcode, -1) != expected)
                    faults << QStringLiteral("stock of %1 is %2, not %3")
                                  .arg(planned.barcode)
                                  .arg(stock.value(planned.barcode, -1))
                                  .arg(expected);
            }
        }

        if (lines == 0 && index != lastStarted.value(run))
            faults << QStringLiteral("not stored, though the run went on to sale %1").arg(lastStarted.value(run));
        if (!faults.isEmpty()) {
            ++result.partial;
            problems << QStringLiteral("sale %1 is partial: %2").arg(id, faults.join(QStringLiteral("; ")));
        } else if (lines == 0) {
            ++result.absent;
        } else {
            ++result.whole;
            wholeSales.insert(id, &plan);
            if (cash) {
                const auto [it, inserted] = saleByReceiptNumber.emplace(t.firstReceipt, id);
                if (!inserted)
                    problems << QStringLiteral("receipt number %1 used by sales %2 and %3")
                                    .arg(t.firstReceipt)
                                    .arg(it->second, id);
            }
        }
    }

    // ---- settings.ini: whole, and naming a receipt number no stored sale has used ----
    qint64 nextReceipt = 0;
    {
        QStringList lines;
        QString why;
        if (!ReadWholeTextFile(folder + QStringLiteral("settings.ini"), lines, why)) {
            problems << QStringLiteral("settings.ini ") + why;
        } else {
            QHash<QString, QString> values;
            for (const SettingsStore::Entry& entry : SettingsStore::ParseLines(lines))
                values.insert(entry.key, entry.value);
            if (!values.contains(QStringLiteral("ReceiptFolder")) || !values.contains(QStringLiteral("Print"))
                || !values.contains(QStringLiteral("ReceiptNumber")))
                problems << QStringLiteral("settings.ini lost keys");
            nextReceipt = values.value(QStringLiteral("ReceiptNumber")).toLongLong();
            if (!saleByReceiptNumber.empty() && nextReceipt <= saleByReceiptNumber.rbegin()->first)
                problems << QStringLiteral("the next receipt number %1 was already used by sale %2 (receipt %3)")
                                .arg(nextReceipt)
                                .arg(saleByReceiptNumber.rbegin()->second)
                                .arg(saleByReceiptNumber.rbegin()->first);
        }
    }

    // ---- receipt files: whole, each the receipt of the stored sale with its number ----
    static const QRegularExpression receiptName(QStringLiteral("^(\\d+)\\.txt$"));
    const QString receipts = folder + QStringLiteral("receipts/");
    for (const QString& name : QDir(receipts).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch nameMatch = receiptName.match(name);
        if (!nameMatch.hasMatch()) {
            result.strayFiles << QStringLiteral("receipts/") + name;
            continue;
        }
        ++result.receiptFiles;
        const qint64 number = nameMatch.captured(1).toLongLong();
        const ReceiptFacts& facts = FactsOfReceipt(receipts + name, number, seed);
        if (!facts.whole) {
            problems << QStringLiteral("receipt ") + name + QLatin1Char(' ') + facts.why;
            continue;
        }
        if (!facts.complete) {
            problems << QStringLiteral("receipt %1 is not complete").arg(name);
            continue;
        }
        if (number >= nextReceipt)
            problems << QStringLiteral("receipt %1 exists while the next receipt number is %2").arg(name).arg(nextReceipt);
        const QString& id = facts.saleId;
        if (!wholeSales.contains(id)) {
            problems << QStringLiteral("receipt %1 is for sale '%2', which is not stored whole").arg(name, id);
            continue;
        }
        if (!facts.showsSale)
            problems << QStringLiteral("receipt %1 does not show sale %2").arg(name, id);
        const crashplan::Sale& sale = *wholeSales.value(id);
        if (sale.kind != Kind::Cash && saleByReceiptNumber.count(number))
            problems << QStringLiteral("credit receipt %1 shares its number with cash sale %2")
                            .arg(name, saleByReceiptNumber[number]);
        if (sale.kind == Kind::CreditUnprinted)
            problems << QStringLiteral("receipt %1 for an unprinted credit sale %2").arg(name, id);
        if (sale.kind == Kind::Cash) {
            const auto it = saleByReceiptNumber.find(number);
            if (it == saleByReceiptNumber.end() || it->second != id)
                problems << QStringLiteral("receipt %1 shows sale %2, stored under another number").arg(name, id);
        }
    }

    // ---- anything else in the program folder is left over from an unfinished write ----
    // (SQLite's own journal may stay behind when the kill came before its header was written; it is not hot and
    // the next transaction reuses it.)
    static const QStringList kOwn{QStringLiteral("empty.db"),      QStringLiteral("data.db"),
                                  QStringLiteral("data.db-journal"),
                                  QStringLiteral("settings.ini"),  QStringLiteral("PrintTemplate.txt"),
                                  QStringLiteral("printed.pdf"),   QStringLiteral("Languages"),
                                  QStringLiteral("receipts"),      QStringLiteral("appdata")};
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!kOwn.contains(name))
            result.strayFiles << name;
    }
    return result;
}

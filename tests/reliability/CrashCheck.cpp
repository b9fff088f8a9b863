#include "CrashCheck.h"

#include "CrashPlan.h"

#include "app/SettingsStore.h"
#include "platform/TextFile.h"
#include "pos/Money.h"
#include "store/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <sys/stat.h>

#include <cmath>
#include <map>

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
    static QHash<QString, crashplan::Sale> plans;
    const QString key = QStringLiteral("%1/%2/%3").arg(seed).arg(run).arg(index);
    auto it = plans.find(key);
    if (it == plans.end())
        it = plans.insert(key, crashplan::PlanSale(seed, run, index));
    return *it;
}

bool ReadWholeTextFileCached(const QString& path, QStringList& lines, QString& why)
{
    struct Seen
    {
        QDateTime modified;
        qint64 size = 0;
        qint64 inode = 0;
        bool whole = false;
        QStringList lines;
        QString why;
    };
    static QHash<QString, Seen> seen;
    const QFileInfo info(path);
    struct stat status {};
    const qint64 inode = ::stat(QFile::encodeName(path).constData(), &status) == 0 ? qint64(status.st_ino) : -1;
    const auto it = seen.constFind(path);
    if (it != seen.cend() && it->modified == info.lastModified() && it->size == info.size() && it->inode == inode) {
        lines = it->lines;
        why = it->why;
        return it->whole;
    }
    Seen now{info.lastModified(), info.size(), inode, false, {}, {}};
    now.whole = ReadWholeTextFile(path, now.lines, now.why);
    seen.insert(path, now);
    lines = now.lines;
    why = now.why;
    return now.whole;
}

} // namespace

CrashCheckResult CheckCrashState(const QString& programFolder, quint32 seed, const QSet<QString>& startedSales)
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

    // Products, paid lines and credit lines, by sale. Read with prepared statements and grouped by the sale id:
    // this runs after every kill over everything stored so far.
    QHash<QString, QHash<QString, qint64>> stockBySale; // sale -> barcode -> stock
    for (Statement rows = db.prepare(QStringLiteral("SELECT barkod, stok FROM urunler;")); rows.next();) {
        const QString barcode = rows.text(0);
        const QString sale = crashplan::SaleIdOfBarcode(barcode);
        QHash<QString, qint64>& stock = stockBySale[sale];
        if (sale.isEmpty() || stock.contains(barcode)) {
            problems << QStringLiteral("unexpected product row ") + barcode;
            continue;
        }
        stock.insert(barcode, rows.integer(1));
    }
    QHash<QString, std::vector<StoredLine>> paidBySale;
    for (Statement rows = db.prepare(QStringLiteral("SELECT fisno, barkod, urunadi, adet, fiyat FROM odemeler;"));
         rows.next();) {
        StoredLine line;
        line.receiptNumber = rows.integer(0);
        line.barcode = rows.text(1);
        line.name = rows.text(2);
        line.quantity = rows.integer(3);
        line.priceCents = std::llround(rows.real(4) * 100);
        paidBySale[crashplan::SaleIdOfBarcode(line.barcode)].push_back(line);
    }
    QHash<QString, std::vector<StoredLine>> creditBySale;
    for (Statement rows = db.prepare(QStringLiteral(
             "SELECT musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi FROM veresiyeler;"));
         rows.next();) {
        StoredLine line;
        line.customerId = rows.integer(0);
        line.customerName = rows.text(1);
        line.barcode = rows.text(2);
        line.name = rows.text(3);
        line.quantity = rows.integer(4);
        line.priceCents = std::llround(rows.real(5) * 100);
        line.paid = rows.integer(6);
        creditBySale[crashplan::SaleIdOfBarcode(line.barcode)].push_back(line);
    }
    db.close();

    for (const QString& sale : stockBySale.keys() + paidBySale.keys() + creditBySale.keys()) {
        if (!startedSales.contains(sale))
            problems << QStringLiteral("rows of a sale that was never started: ") + (sale.isEmpty() ? "?" : sale);
    }

    // ---- every started sale: whole or absent ----
    std::map<qint64, QString> saleByReceiptNumber; // cash sales stored
    QHash<QString, crashplan::Sale> wholeSales;
    for (const QString& id : startedSales) {
        int run = 0;
        int index = 0;
        if (!crashplan::ParseSaleId(id, run, index)) {
            problems << QStringLiteral("bad sale id in the log: ") + id;
            continue;
        }
        const crashplan::Sale& plan = CachedPlan(seed, run, index);
        static const QHash<QString, qint64> kNoStock;
        static const std::vector<StoredLine> kNoLines;
        const auto stockIt = stockBySale.constFind(id);
        const QHash<QString, qint64>& stock = stockIt == stockBySale.cend() ? kNoStock : *stockIt;
        const auto paidIt = paidBySale.constFind(id);
        const std::vector<StoredLine>& paidLines = paidIt == paidBySale.cend() ? kNoLines : *paidIt;
        const auto creditIt = creditBySale.constFind(id);
        const std::vector<StoredLine>& creditLines = creditIt == creditBySale.cend() ? kNoLines : *creditIt;
        const std::vector<StoredLine>& lines = plan.kind == Kind::Cash ? paidLines : creditLines;
        QStringList faults;
        if (!stock.isEmpty() && stock.size() != qsizetype(plan.lines.size()))
            faults << QStringLiteral("%1 of its %2 products stored").arg(stock.size()).arg(plan.lines.size());
        if (!(plan.kind == Kind::Cash ? creditLines : paidLines).empty())
            faults << QStringLiteral("lines in the wrong table");

        if (lines.empty()) {
            for (auto it = stock.cbegin(); it != stock.cend(); ++it) {
                if (it.value() != crashplan::kInitialStock)
                    faults << QStringLiteral("stock of %1 is %2 without a stored line").arg(it.key()).arg(it.value());
            }
        } else {
            if (lines.size() != plan.lines.size())
                faults << QStringLiteral("%1 of its %2 lines stored").arg(lines.size()).arg(plan.lines.size());
            QHash<QString, const StoredLine*> byBarcode;
            for (const StoredLine& line : lines) {
                if (byBarcode.contains(line.barcode))
                    faults << QStringLiteral("line %1 stored twice").arg(line.barcode);
                byBarcode.insert(line.barcode, &line);
            }
            const qint64 receiptNumber = lines.front().receiptNumber;
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
                if (plan.kind == Kind::Cash && line->receiptNumber != receiptNumber)
                    faults << QStringLiteral("lines under receipt numbers %1 and %2")
                                  .arg(receiptNumber)
                                  .arg(line->receiptNumber);
                if (plan.kind != Kind::Cash) {
                    static const QStringList kCustomers = crashplan::Customers();
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
            if (plan.kind == Kind::Cash && faults.isEmpty()) {
                const auto [it, inserted] = saleByReceiptNumber.emplace(receiptNumber, id);
                if (!inserted)
                    problems << QStringLiteral("receipt number %1 used by sales %2 and %3")
                                    .arg(receiptNumber)
                                    .arg(it->second, id);
            }
        }
        if (!faults.isEmpty()) {
            ++result.partial;
            problems << QStringLiteral("sale %1 is partial: %2").arg(id, faults.join(QStringLiteral("; ")));
        } else if (lines.empty()) {
            ++result.absent;
        } else {
            ++result.whole;
            wholeSales.insert(id, plan);
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
    static const QRegularExpression listBarcode(QStringLiteral("(R\\d+S\\d+)L\\d+ \\("));
    const QString receipts = folder + QStringLiteral("receipts/");
    for (const QString& name : QDir(receipts).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch nameMatch = receiptName.match(name);
        if (!nameMatch.hasMatch()) {
            result.strayFiles << QStringLiteral("receipts/") + name;
            continue;
        }
        ++result.receiptFiles;
        const qint64 number = nameMatch.captured(1).toLongLong();
        QStringList lines;
        QString why;
        if (!ReadWholeTextFileCached(receipts + name, lines, why)) {
            problems << QStringLiteral("receipt ") + name + QLatin1Char(' ') + why;
            continue;
        }
        if (lines.size() < 4 || lines.first() != QStringLiteral("No %1").arg(number)
            || lines.last() != crashplan::TemplateLastLine()) {
            problems << QStringLiteral("receipt %1 is not complete").arg(name);
            continue;
        }
        if (number >= nextReceipt)
            problems << QStringLiteral("receipt %1 exists while the next receipt number is %2").arg(name).arg(nextReceipt);
        const QRegularExpressionMatch saleMatch = listBarcode.match(lines.at(1));
        const QString id = saleMatch.hasMatch() ? saleMatch.captured(1) : QString();
        if (!wholeSales.contains(id)) {
            problems << QStringLiteral("receipt %1 is for sale '%2', which is not stored whole").arg(name, id);
            continue;
        }
        const crashplan::Sale& sale = wholeSales[id];
        QStringList expected{QStringLiteral("No %1").arg(number)};
        qint64 total = 0;
        for (const crashplan::Line& line : sale.lines) {
            expected << crashplan::ReceiptLine(line);
            total += line.priceCents * line.quantity;
        }
        expected << QStringLiteral("Total $ ") + MoneyText(double(total) / 100) << crashplan::TemplateLastLine();
        if (lines != expected)
            problems << QStringLiteral("receipt %1 does not show sale %2").arg(name, id);
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

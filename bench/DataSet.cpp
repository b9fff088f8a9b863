#include "DataSet.h"

#include <QDate>
#include <QFile>
#include <algorithm>
#include <optional>
#include <random>
#include <sqlite3.h>
#include <stdexcept>

namespace {

const char* const kWords[] = {
    "Milk", "Bread", "Coffee", "Tea", "Butter", "Cheese", "Apple", "Orange", "Juice", "Water", "Rice", "Pasta",
    "Sugar", "Salt", "Pepper", "Soap", "Shampoo", "Biscuit", "Chocolate", "Yogurt", "Honey", "Jam", "Olive",
    "Oil", "Flour", "Egg", "Tomato", "Sauce", "Tuna", "Beans", "Corn", "Cereal", "Nuts", "Raisins", "Lemon",
    "Mint", "Green", "Black", "White", "Red", "Large", "Small", "Organic", "Fresh", "Classic", "Family", "Pack",
    "Bottle", "Box", "Bag", "Light", "Extra", "Sweet", "Spicy", "Crispy", "Soft", "Daily", "Premium", "Mini"};

struct Db
{
    sqlite3* handle = nullptr;
    explicit Db(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open data set");
    }
    ~Db() { sqlite3_close(handle); }
    void exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(handle, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(handle));
        return stmt;
    }
};

void bindText(sqlite3_stmt* stmt, int index, const QByteArray& text)
{
    sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void step(sqlite3_stmt* stmt)
{
    if (sqlite3_step(stmt) != SQLITE_DONE)
        throw std::runtime_error("insert failed");
    sqlite3_reset(stmt);
}

QByteArray productName(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> wordCount(2, 4);
    std::uniform_int_distribution<int> word(0, int(std::size(kWords)) - 1);
    QByteArray name;
    const int n = wordCount(rng);
    for (int i = 0; i < n; ++i) {
        if (i)
            name += ' ';
        name += kWords[word(rng)];
    }
    return name;
}

QByteArray barcodeFor(int i)
{
    return QByteArray::number(8690000000000LL + qint64(i) * 7);
}

double priceFor(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> cents(10, 99999);
    return cents(rng) / 100.0;
}

} // namespace

QStringList CreateDataSet(const QString& emptyDbPath, const QString& folder, const DataSetSize& size)
{
    const QString path = folder + QStringLiteral("/data.db");
    QFile::remove(path);
    if (!QFile::copy(emptyDbPath, path))
        throw std::runtime_error("cannot copy empty.db");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    std::mt19937_64 rng(20261210);
    Db db(path);
    db.exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF; BEGIN");

    QStringList barcodes;
    std::vector<QByteArray> names;
    std::vector<double> prices;
    sqlite3_stmt* product = db.prepare("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?)");
    std::uniform_int_distribution<int> stock(0, 500);
    for (int i = 0; i < size.products; ++i) {
        const QByteArray code = barcodeFor(i);
        const QByteArray name = productName(rng);
        const double price = priceFor(rng);
        bindText(product, 1, code);
        bindText(product, 2, name);
        sqlite3_bind_double(product, 3, price);
        sqlite3_bind_int(product, 4, stock(rng));
        step(product);
        barcodes << QString::fromLatin1(code);
        names.push_back(name);
        prices.push_back(price);
    }
    sqlite3_finalize(product);

    sqlite3_stmt* customer = db.prepare("insert into musteriler (musteriadi) values (?)");
    for (int i = 0; i < size.customers; ++i) {
        bindText(customer, 1, "Customer " + QByteArray::number(i + 1) + " " + productName(rng).split(' ').first());
        step(customer);
    }
    sqlite3_finalize(customer);

    const QDate first = QDate::fromString(QString::fromLatin1(kFirstPaymentDay), Qt::ISODate);
    const int days = 730;
    std::uniform_int_distribution<int> anyProduct(0, std::max(0, size.products - 1));
    std::uniform_int_distribution<int> quantity(1, 5);
    std::uniform_int_distribution<int> anyCustomer(1, std::max(1, size.customers));
    std::uniform_int_distribution<int> anyDay(0, days - 1);
    std::uniform_int_distribution<int> secondOfDay(8 * 3600, 21 * 3600);

    sqlite3_stmt* credit = db.prepare(
        "insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat,odendimi,kayittarihi,odemetarihi) "
        "values (?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < size.credits; ++i) {
        const int p = anyProduct(rng);
        const int c = anyCustomer(rng);
        const QDateTime when(first.addDays(anyDay(rng)), QTime(0, 0).addSecs(secondOfDay(rng)));
        const bool settled = i % 3 == 0;
        sqlite3_bind_int(credit, 1, c);
        bindText(credit, 2, "Customer " + QByteArray::number(c));
        bindText(credit, 3, barcodeFor(p));
        bindText(credit, 4, names[size_t(p)]);
        sqlite3_bind_int(credit, 5, quantity(rng));
        sqlite3_bind_double(credit, 6, prices[size_t(p)]);
        sqlite3_bind_int(credit, 7, settled ? 1 : 0);
        bindText(credit, 8, when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1());
        if (settled)
            bindText(credit, 9, when.addDays(7).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1());
        else
            sqlite3_bind_null(credit, 9);
        step(credit);
    }
    sqlite3_finalize(credit);

    // Payments in time order: receipts of one to five lines, numbered in order.
    sqlite3_stmt* payment = db.prepare(
        "insert into odemeler (fisno,barkod,urunadi,adet,fiyat,odemetarihi) values (?,?,?,?,?,?)");
    const qint64 perDay = std::max<qint64>(1, size.payments / days);
    std::uniform_int_distribution<int> linesPerReceipt(1, 5);
    qint64 receipt = 1;
    int written = 0;
    for (int day = 0; day < days && written < size.payments; ++day) {
        const QDate date = first.addDays(day);
        const qint64 today = day == days - 1 ? size.payments - written : std::min<qint64>(perDay, size.payments - written);
        int left = int(today);
        int second = 8 * 3600;
        const int step_ = std::max(1, int((13 * 3600) / std::max<qint64>(1, today)));
        while (left > 0) {
            const int lines = std::min(left, linesPerReceipt(rng));
            const QByteArray when =
                QDateTime(date, QTime(0, 0).addSecs(std::min(second, 86399))).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
            for (int l = 0; l < lines; ++l) {
                const int p = anyProduct(rng);
                sqlite3_bind_int64(payment, 1, receipt);
                bindText(payment, 2, barcodeFor(p));
                bindText(payment, 3, names[size_t(p)]);
                sqlite3_bind_int(payment, 4, quantity(rng));
                sqlite3_bind_double(payment, 5, prices[size_t(p)]);
                bindText(payment, 6, when);
                step(payment);
            }
            ++receipt;
            left -= lines;
            written += lines;
            second += step_ * lines;
        }
    }
    sqlite3_finalize(payment);

    // The other tills' records, in time order each day: paid in cash (with what was handed over), by card, or
    // split between the two.
    sqlite3_stmt* record = db.prepare(
        "insert into sale_records (sale_id,till,receipt_no,recorded_at,kind,subtotal_cents,discount_cents,"
        "total_cents) values (?,?,?,?,'sale',?,0,?)");
    sqlite3_stmt* tender = db.prepare(
        "insert into tenders (sale_id,position,tender_type,amount_cents,handed_cents,change_cents) values (?,?,?,?,?,?)");
    const auto addTender = [&](const QByteArray& saleId, int position, const char* type, qint64 amount,
                               std::optional<qint64> handed) {
        bindText(tender, 1, saleId);
        sqlite3_bind_int(tender, 2, position);
        bindText(tender, 3, type);
        sqlite3_bind_int64(tender, 4, amount);
        if (handed) {
            sqlite3_bind_int64(tender, 5, *handed);
            sqlite3_bind_int64(tender, 6, *handed - amount);
        } else {
            sqlite3_bind_null(tender, 5);
            sqlite3_bind_null(tender, 6);
        }
        step(tender);
    };
    std::uniform_int_distribution<int> anyTotal(100, 20000);
    std::uniform_int_distribution<int> anyTill(0, 1);
    std::uniform_int_distribution<int> howPaid(0, 19);
    qint64 receipts[2] = {1, 1};
    qint64 recordNumber = 0;
    for (int day = 0; day < days; ++day) {
        const int today = size.otherTillRecords / days + (day < size.otherTillRecords % days ? 1 : 0);
        std::vector<int> seconds(size_t(today), 0);
        for (int& second : seconds)
            second = secondOfDay(rng);
        std::sort(seconds.begin(), seconds.end());
        for (const int second : seconds) {
            const QByteArray saleId = "00000000-0000-4000-8000-" + QByteArray::number(++recordNumber, 16).rightJustified(12, '0');
            const int till = anyTill(rng);
            const qint64 total = anyTotal(rng);
            bindText(record, 1, saleId);
            bindText(record, 2, till ? "Till 3" : "Till 2");
            sqlite3_bind_int64(record, 3, receipts[till]++);
            bindText(record, 4, QDateTime(first.addDays(day), QTime(0, 0).addSecs(second))
                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                    .toLatin1());
            sqlite3_bind_int64(record, 5, total);
            sqlite3_bind_int64(record, 6, total);
            step(record);
            const int paid = howPaid(rng);
            if (paid < 11) {
                addTender(saleId, 1, "Cash", total, (total + 999) / 1000 * 1000);
            } else if (paid < 18) {
                addTender(saleId, 1, "Card", total, std::nullopt);
            } else {
                addTender(saleId, 1, "Cash", total / 2, total / 2);
                addTender(saleId, 2, "Card", total - total / 2, std::nullopt);
            }
        }
    }
    sqlite3_finalize(record);
    sqlite3_finalize(tender);
    db.exec("COMMIT; ANALYZE");
    return barcodes;
}

QStringList ExistingBarcodes(const QString& dataFile)
{
    Db db(dataFile);
    sqlite3_stmt* all = db.prepare("SELECT barkod FROM urunler order by id");
    QStringList barcodes;
    while (sqlite3_step(all) == SQLITE_ROW)
        barcodes << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(all, 0)));
    sqlite3_finalize(all);
    return barcodes;
}

void WriteImportFile(const QString& path, int count)
{
    std::mt19937_64 rng(7);
    QByteArray bytes = "Barcode;Product;Price;Stock\r\n";
    std::uniform_int_distribution<int> stock(0, 500);
    for (int i = 0; i < count; ++i) {
        bytes += barcodeFor(i) + ';' + productName(rng) + ';' + QByteArray::number(priceFor(rng), 'f', 2) + ';'
                 + QByteArray::number(stock(rng)) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the import file");
}

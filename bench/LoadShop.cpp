#include "LoadShop.h"

#include "RawServer.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <random>

namespace {

// A sale line as the checks compare it: barcode, quantity, price.
QString LineKey(const QString& barcode, qint64 quantity, const QString& price)
{
    return barcode + QLatin1Char('*') + QString::number(quantity) + QLatin1Char('@') + price;
}

QString SaleKey(const QString& till, qint64 receipt)
{
    return till + QLatin1Char('#') + QString::number(receipt);
}

} // namespace

LoadShop::LoadShop(const LoadSettings& settings)
{
    for (int i = 0; i < settings.products; ++i) {
        Product product;
        product.barcode = QStringLiteral("LOAD%1").arg(i, 5, 10, QLatin1Char('0'));
        product.name = QStringLiteral("Load product %1").arg(i);
        product.price = MoneyAmount::fromCents(50 + (i % 40) * 25);
        product.stock = i % 10 == 0 ? 25 : 1000000;
        m_products.push_back(product);
    }
    const int lines = std::min(settings.linesPerSale, settings.products);
    for (int till = 0; till < settings.tills; ++till) {
        std::mt19937 random(20250630u + unsigned(till));
        std::uniform_real_distribution<double> pick(0, 1);
        std::uniform_int_distribution<int> quantity(1, 3);
        std::vector<Sale> sales;
        for (int s = 0; s < settings.salesPerTill; ++s) {
            Sale sale;
            QSet<int> taken;
            while (int(sale.size()) < lines) {
                const double u = pick(random);
                const int index = std::min(settings.products - 1, int(settings.products * u * u));
                if (taken.contains(index))
                    continue;
                taken.insert(index);
                const Product& product = m_products[size_t(index)];
                sale.push_back({product.barcode, product.name, quantity(random), product.price});
            }
            sales.push_back(std::move(sale));
        }
        m_plans.push_back(std::move(sales));
    }
}

QString LoadShop::tillName(const QString& round, int till)
{
    return QStringLiteral("%1-till%2").arg(round).arg(till + 1, 2, 10, QLatin1Char('0'));
}

bool LoadShop::reset(RawServer& server, QString* error) const
{
    bool ok = server.exec("TRUNCATE odemeler, urunler RESTART IDENTITY") && server.exec("BEGIN")
              && server.prepare("", "insert into urunler (barkod, urunadi, fiyat, stok) values ($1, $2, $3, $4)");
    for (const Product& product : m_products) {
        if (!ok)
            break;
        const QByteArray barcode = product.barcode.toUtf8();
        const QByteArray name = product.name.toUtf8();
        const QByteArray price = product.price.text().toUtf8();
        const QByteArray stock = QByteArray::number(product.stock);
        ok = RawResult(server.run("", {barcode.constData(), name.constData(), price.constData(), stock.constData()}))
                 .ok();
    }
    ok = ok && server.exec("COMMIT") && server.exec("VACUUM ANALYZE urunler") && server.exec("VACUUM ANALYZE odemeler")
         && server.exec("CHECKPOINT");
    if (!ok) {
        *error = server.error();
        server.exec("ROLLBACK");
    }
    return ok;
}

QStringList LoadShop::check(RawServer& server, const QString& round, const std::vector<std::vector<bool>>& committed,
                            int* soldOut) const
{
    *soldOut = 0;
    QStringList problems;
    auto problem = [&problems, &round](const QString& text) {
        if (problems.size() < 5)
            problems << round + QStringLiteral(": ") + text;
    };

    // The stored lines of the round's tills, sale by sale in the order they were stored.
    QHash<QString, QStringList> stored;
    {
        const QByteArray pattern = (round + QStringLiteral("-till%")).toUtf8();
        server.prepare("", "SELECT kasa, fisno, barkod, adet, fiyat FROM odemeler WHERE kasa LIKE $1 ORDER BY id");
        const RawResult rows(server.run("", {pattern.constData()}));
        if (!rows.ok()) {
            problem(QStringLiteral("the stored sales could not be read: ") + server.error());
            return problems;
        }
        for (int r = 0; r < rows.rows(); ++r) {
            const QString price = QString::number(rows.text(r, 4).toDouble(), 'f', 2);
            stored[SaleKey(rows.text(r, 0), rows.text(r, 1).toLongLong())]
                << LineKey(rows.text(r, 2), rows.text(r, 3).toLongLong(), price);
        }
    }
    QHash<QString, qint64> sold;
    qsizetype expectedSales = 0;
    for (size_t till = 0; till < m_plans.size(); ++till) {
        const QString name = tillName(round, int(till));
        for (size_t s = 0; s < m_plans[till].size(); ++s) {
            const QString key = SaleKey(name, qint64(s) + 1); // each till numbers its receipts from 1
            if (!committed[till][s]) {
                if (stored.contains(key))
                    problem(QStringLiteral("%1, receipt %2 failed but is stored").arg(name).arg(s + 1));
                continue;
            }
            ++expectedSales;
            QStringList lines;
            for (const SaleLine& line : m_plans[till][s]) {
                lines << LineKey(line.barcode, line.quantity, line.unitPrice.text());
                sold[line.barcode] += line.quantity;
            }
            const QStringList got = stored.value(key);
            if (got.size() > lines.size())
                problem(QStringLiteral("%1, receipt %2 is used by more than one sale").arg(name).arg(s + 1));
            else if (got != lines)
                problem(QStringLiteral("%1, receipt %2 is not whole (%3 of %4 lines)")
                            .arg(name).arg(s + 1).arg(got.size()).arg(lines.size()));
        }
    }
    if (stored.size() > expectedSales)
        problem(QStringLiteral("%1 sales stored, %2 expected").arg(stored.size()).arg(expectedSales));

    const RawResult stock(PQexec(server.get(), "SELECT barkod, stok FROM urunler ORDER BY id"));
    if (!stock.ok() || stock.rows() != int(m_products.size())) {
        problem(QStringLiteral("the products could not be read: ") + server.error());
        return problems;
    }
    for (int r = 0; r < stock.rows(); ++r) {
        const Product& product = m_products[size_t(r)];
        const qint64 expected = std::max<qint64>(0, product.stock - sold.value(product.barcode));
        const qint64 left = stock.text(r, 1).toLongLong();
        *soldOut += left == 0 ? 1 : 0;
        if (stock.text(r, 0) != product.barcode || left != expected)
            problem(QStringLiteral("stock of %1 is %2, expected %3").arg(product.barcode).arg(left).arg(expected));
    }
    return problems;
}

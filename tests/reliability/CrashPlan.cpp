#include "CrashPlan.h"

#include <QRegularExpression>
#include <random>

namespace crashplan {

Sale PlanSale(quint32 seed, int run, int index)
{
    std::seed_seq seq{seed, quint32(run), quint32(index)};
    std::mt19937 random(seq);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    Sale sale;
    sale.id = QStringLiteral("R%1S%2").arg(run).arg(index);
    const int kind = pick(0, 9);
    sale.kind = kind < 6 ? Kind::Cash : (kind < 8 ? Kind::CreditPrinted : Kind::CreditUnprinted);
    sale.cashPrinted = pick(0, 9) == 0;
    sale.customer = pick(0, int(Customers().size()) - 1);
    const int lineCount = pick(1, 60);
    for (int i = 0; i < lineCount; ++i) {
        Line line;
        line.barcode = sale.id + QStringLiteral("L%1").arg(i);
        // Some names are not plain ASCII, so the receipt files carry multi-byte UTF-8.
        line.name = (i % 3 == 0 ? QStringLiteral("Çay ") : QStringLiteral("Item ")) + line.barcode;
        line.quantity = pick(1, 5);
        line.priceCents = pick(1, 99999);
        sale.lines.push_back(line);
    }
    return sale;
}

QString SaleIdOfBarcode(const QString& barcode)
{
    // R<digits>S<digits>L<digits>, read by hand: the checker calls this for every stored line after every kill.
    qsizetype i = 0;
    auto digits = [&barcode, &i] {
        const qsizetype start = i;
        while (i < barcode.size() && barcode.at(i).isDigit() && barcode.at(i).unicode() < 128)
            ++i;
        return i > start;
    };
    auto letter = [&barcode, &i](char c) {
        if (i >= barcode.size() || barcode.at(i) != QLatin1Char(c))
            return false;
        ++i;
        return true;
    };
    if (!letter('R') || !digits() || !letter('S') || !digits())
        return QString();
    const qsizetype end = i;
    if (!letter('L') || !digits() || i != barcode.size())
        return QString();
    return barcode.left(end);
}

bool ParseSaleId(const QString& id, int& run, int& index)
{
    static const QRegularExpression pattern(QStringLiteral("^R(\\d+)S(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(id);
    if (!match.hasMatch())
        return false;
    run = match.captured(1).toInt();
    index = match.captured(2).toInt();
    return true;
}

QStringList Customers()
{
    return {QStringLiteral("Ann"), QStringLiteral("Bo's Bar"), QStringLiteral("Özlem")};
}

QByteArray TemplateBytes()
{
    return "No [RECEIPTNO]\r\n[LIST]\r\nTotal [TOTAL]\r\nEnd of receipt\r\n";
}

QString TemplateLastLine()
{
    return QStringLiteral("End of receipt");
}

QString ReceiptLine(const Line& line)
{
    return line.name + QStringLiteral(" (") + QString::number(line.priceCents / 100.0, 'f', 2) + QStringLiteral(") * ")
           + QString::number(line.quantity);
}

} // namespace crashplan

#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The sales the crash child makes, derived from (seed, run, index) alone so that the checker can rebuild any
// sale it finds in the database without trusting the child's log for its contents.
//
// Every sale has products of its own (barcode R<run>S<index>L<line>, stock kInitialStock when created), so
// its stored lines can be told apart from every other sale's and the stock of each of its products shows
// whether the sale was counted: kInitialStock when it was not, kInitialStock − quantity when it was.
namespace crashplan {

constexpr qint64 kInitialStock = 1000;

enum class Kind { Cash, CreditPrinted, CreditUnprinted };

struct Line
{
    QString barcode;
    QString name;
    qint64 quantity = 0;
    qint64 priceCents = 0;
};

struct Sale
{
    QString id; // R<run>S<index>
    Kind kind = Kind::Cash;
    bool cashPrinted = false; // a cash sale answers Yes to "Print?"
    int customer = 0;         // index into Customers() for a credit sale
    std::vector<Line> lines;
};

Sale PlanSale(quint32 seed, int run, int index);
// The sale id of a product barcode ("R3S7L12" -> "R3S7"); empty when the barcode is not one of the plan's.
QString SaleIdOfBarcode(const QString& barcode);
// Parses a sale id back into run and index.
bool ParseSaleId(const QString& id, int& run, int& index);

// The customers that credit sales go to, created before the first run.
QStringList Customers();

// The receipt template: its last line closes every complete receipt file.
QByteArray TemplateBytes();
QString TemplateLastLine();
// The receipt list line of a planned line, as the checkout writes it.
QString ReceiptLine(const Line& line);

} // namespace crashplan

#pragma once

#include "pos/MoneyAmount.h"
#include "pos/MoneySum.h"
#include "pos/SaleLine.h"

#include <QString>
#include <optional>
#include <vector>

class Database;
class SaleObserver;

// The sale being rung up: its lines, the discount and the total, in whole cents.
//
// How a line is priced:
// - A new line starts from the price as read (a stored price may have more decimals): its unit price, its total
//   (price x quantity) and, under a discount, its discounted price (price - price x rate / 100) and discounted
//   total (quantity x discounted price) are each rounded to the cent from that full price.
// - Every later change (a rescan, a typed quantity, a new discount) prices the line again from its unit price as
//   shown, so a stored 0.333 shows 0.33 and three of it 1.00, while four of it come to 0.33 x 4 = 1.32.
// - The total adds the line totals as shown (the discounted ones while a discount is set).
// An amount that is not a finite number adds or changes nothing: AppError "'inf' is not a valid floating point
// value".
class Sale
{
public:
    struct Line
    {
        QString barcode; // empty for a line added by name
        QString name;
        MoneyAmount unitPrice;
        qint64 quantity = 0;
        MoneyAmount total;
        // Set while the sale has a discount.
        std::optional<MoneyAmount> discountedPrice;
        std::optional<MoneyAmount> discountedTotal;

        // What the customer pays for one unit and for the line.
        const MoneyAmount& chargedPrice() const { return discountedPrice ? *discountedPrice : unitPrice; }
        const MoneyAmount& chargedTotal() const { return discountedTotal ? *discountedTotal : total; }
    };

    Sale() = default;
    Sale(const Sale&) = delete;
    Sale& operator=(const Sale&) = delete;

    // The one observer, or none.
    void setObserver(SaleObserver* observer) { m_observer = observer; }

    int lineCount() const { return int(m_lines.size()); }
    bool empty() const { return m_lines.empty(); }
    const Line& line(int row) const { return m_lines[size_t(row)]; }
    // The first line with exactly this barcode, or -1.
    int rowOfBarcode(const QString& barcode) const;

    // Looks the barcode up in the products and, for each product found in turn, raises the quantity of the first
    // line with its barcode or adds a line; false when nothing matched or the lookup failed (reported). Every
    // price is read before the sale changes, so a product whose price is not a number adds nothing (AppError
    // "'x' is not a valid floating point value").
    bool addByBarcode(Database& db, const QString& barcode, qint64 quantity);
    // Adds a line at a unit price as read (full precision); a line added by name has no barcode.
    void addLine(const QString& barcode, const QString& name, double unitPrice, qint64 quantity);
    // Sets a line's quantity; nothing for a row that does not exist.
    void setQuantity(int row, qint64 quantity);
    void removeLine(int row);
    // No lines and no discount.
    void clear();

    // The discount in percent, 0 for none. Any rate is taken: a negative one raises prices.
    double discountRate() const { return m_discountRate; }
    void setDiscountRate(double rate);

    MoneySum total() const;
    // The lines as a checkout stores them.
    std::vector<SaleLine> checkoutLines() const;

private:
    void notifyChanged(int first, int last);

    std::vector<Line> m_lines;
    double m_discountRate = 0;
    SaleObserver* m_observer = nullptr;
};

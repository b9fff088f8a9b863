#include "pos/Sale.h"

#include "pos/Money.h"
#include "pos/SaleObserver.h"
#include "store/ProductsTable.h"

#include <cmath>

namespace {

// An amount rounded to the cent; one that is not a finite number is refused.
MoneyAmount Amount(double value)
{
    if (!std::isfinite(value))
        RaiseNotANumber(MoneyText(value));
    return MoneyAmount::rounded(value);
}

struct DiscountedAmounts
{
    std::optional<MoneyAmount> price;
    std::optional<MoneyAmount> total;
};

// A line's discounted price and total, none without a discount.
DiscountedAmounts Discount(double unitPrice, qint64 quantity, double rate)
{
    if (rate == 0)
        return {};
    const double discounted = unitPrice - unitPrice * rate / 100;
    return {Amount(discounted), Amount(double(quantity) * discounted)};
}

// A product's price as stored: a number, or a text that must read as one.
double ReadPrice(const DbValue& price)
{
    const double value = price.raw().typeId() == QMetaType::QString ? ReadNumber(price.asText()) : price.asDouble();
    if (!std::isfinite(value))
        RaiseNotANumber(price.asText());
    return value;
}

} // namespace

int Sale::rowOfBarcode(const QString& barcode) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].barcode == barcode)
            return int(i);
    return -1;
}

bool Sale::addByBarcode(Database& db, const QString& barcode, qint64 quantity)
{
    const std::optional<std::vector<ProductRecord>> products = ProductsTable(db).withBarcode(barcode);
    if (!products)
        return false;
    std::vector<double> prices;
    prices.reserve(products->size());
    for (const ProductRecord& product : *products)
        prices.push_back(ReadPrice(product.price));
    for (size_t i = 0; i < products->size(); ++i) {
        const ProductRecord& product = (*products)[i];
        const int row = rowOfBarcode(product.barcode);
        if (row >= 0)
            setQuantity(row, m_lines[size_t(row)].quantity + quantity);
        else
            addLine(product.barcode, product.name, prices[i], quantity);
    }
    return !products->empty();
}

void Sale::addLine(const QString& barcode, const QString& name, double unitPrice, qint64 quantity)
{
    const DiscountedAmounts discounted = Discount(unitPrice, quantity, m_discountRate);
    Line line{barcode, name, Amount(unitPrice), quantity, Amount(unitPrice * double(quantity)), discounted.price,
              discounted.total};
    const int row = lineCount();
    if (m_observer)
        m_observer->lineAboutToBeAdded(row);
    m_lines.push_back(std::move(line));
    if (m_observer)
        m_observer->lineAdded(row);
}

void Sale::setQuantity(int row, qint64 quantity)
{
    if (row < 0 || row >= lineCount())
        return;
    Line& line = m_lines[size_t(row)];
    const double shownPrice = line.unitPrice.value();
    const MoneyAmount total = Amount(shownPrice * double(quantity));
    const DiscountedAmounts discounted = Discount(shownPrice, quantity, m_discountRate);
    line.quantity = quantity;
    line.total = total;
    line.discountedPrice = discounted.price;
    line.discountedTotal = discounted.total;
    notifyChanged(row, row);
}

void Sale::removeLine(int row)
{
    if (row < 0 || row >= lineCount())
        return;
    if (m_observer)
        m_observer->lineAboutToBeRemoved(row);
    m_lines.erase(m_lines.begin() + row);
    if (m_observer)
        m_observer->lineRemoved(row);
}

void Sale::clear()
{
    if (m_observer)
        m_observer->aboutToBeCleared();
    m_lines.clear();
    m_discountRate = 0;
    if (m_observer)
        m_observer->cleared();
}

void Sale::setDiscountRate(double rate)
{
    std::vector<DiscountedAmounts> discounted;
    discounted.reserve(m_lines.size());
    for (const Line& line : m_lines)
        discounted.push_back(Discount(line.unitPrice.value(), line.quantity, rate));
    m_discountRate = rate;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i].discountedPrice = discounted[i].price;
        m_lines[i].discountedTotal = discounted[i].total;
    }
    if (!m_lines.empty())
        notifyChanged(0, lineCount() - 1);
}

MoneySum Sale::total() const
{
    MoneySum sum;
    for (const Line& line : m_lines)
        sum.add(line.chargedTotal());
    return sum;
}

std::vector<SaleLine> Sale::checkoutLines() const
{
    std::vector<SaleLine> lines;
    lines.reserve(m_lines.size());
    for (const Line& line : m_lines)
        lines.push_back({line.barcode, line.name, line.quantity, line.chargedPrice(),
                         line.discountedPrice ? std::optional<MoneyAmount>(line.unitPrice) : std::nullopt});
    return lines;
}

void Sale::notifyChanged(int first, int last)
{
    if (m_observer)
        m_observer->linesChanged(first, last);
}

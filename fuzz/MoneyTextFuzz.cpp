// Typed prices, amounts tendered and discount answers, the sale arithmetic on them, and the money and report
// texts of any amount.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "pos/Money.h"
#include "pos/MoneyAmount.h"
#include "pos/Sale.h"
#include "pos/SaleTotals.h"
#include "reports/ReportNumber.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>

namespace {

// Report amounts: two decimals after cutting to ten significant digits, or exponent notation beyond ten
// integer digits.
void checkReportAmountText(double value)
{
    const QString text = ReportAmountText(value);
    if (!std::isfinite(value))
        return;
    static const QRegularExpression form(
        QStringLiteral("^-?([0-9]{1,10}\\.[0-9][0-9]|[1-9](\\.[0-9]*[1-9])?E\\+[0-9]+)$"));
    FUZZ_CHECK(form.match(text).hasMatch());
    FUZZ_CHECK(text != QLatin1String("-0.00"));
    // Near the end of the double range the rounded text may lie beyond it.
    if (std::fabs(value) > 1e300)
        return;
    double back = 0;
    FUZZ_CHECK(TryReadNumber(text, back));
    FUZZ_CHECK(std::fabs(back - value) <= 0.005 + 1e-9 * std::fabs(value));
}

// A sale line at this price: priced from the full price when added, from the price as shown (its text read back)
// once its quantity changes.
void checkSaleLine(double price)
{
    Sale sale;
    try {
        sale.addLine(QStringLiteral("B"), QStringLiteral("N"), price, 3);
    } catch (const AppError&) {
        FUZZ_CHECK(!std::isfinite(price * 3));
        FUZZ_CHECK(sale.empty());
        return;
    }
    FUZZ_CHECK(sale.line(0).total.text() == MoneyText(price * 3));
    const double shown = ReadNumber(MoneyText(price));
    try {
        sale.setQuantity(0, 4);
        FUZZ_CHECK(sale.line(0).total.text() == MoneyText(shown * 4));
    } catch (const AppError&) {
        FUZZ_CHECK(!std::isfinite(shown * 4));
        FUZZ_CHECK(sale.line(0).quantity == 3);
    }
}

void checkMoneyText(double value)
{
    const QString text = MoneyText(value);
    MoneyWithSymbol(QStringLiteral("$"), value);
    GeneralNumberText(value);
    checkReportAmountText(value);
    // The amount a sale holds shows the same text and reads as what that text reads as.
    const MoneyAmount amount = MoneyAmount::rounded(value);
    FUZZ_CHECK(amount.text() == text);
    if (std::isfinite(value)) {
        FUZZ_CHECK(ReadNumber(text) == amount.value());
        checkSaleLine(value);
    }
    if (!std::isfinite(value))
        return;
    if (std::fabs(value) >= 1e15) {
        FUZZ_CHECK(text == QString::number(value, 'f', 2)); // the double's own digits, rounded at the cent
        return;
    }
    FUZZ_CHECK(amount.inCents());
    ChangeTableLines(amount.cents());
    static const QRegularExpression form(QStringLiteral("^-?[0-9]+\\.[0-9][0-9]$"));
    FUZZ_CHECK(form.match(text).hasMatch());
    FUZZ_CHECK(text != QLatin1String("-0.00"));
    // The text is the amount to the cent (after rounding to 15 significant digits).
    double back = 0;
    FUZZ_CHECK(TryReadNumber(text, back));
    FUZZ_CHECK(std::fabs(back - value) <= 0.005 + 1e-13 * std::fabs(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    double value = 0;
    const bool isNumber = TryReadNumber(text, value);
    try {
        const double read = ReadNumber(text);
        FUZZ_CHECK(isNumber && (read == value || (std::isnan(read) && std::isnan(value))));
    } catch (const AppError& error) {
        FUZZ_CHECK(!isNumber);
        FUZZ_CHECK(error.message() == QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
    if (isNumber)
        checkMoneyText(value);
    ReadIntegerOr(text, -1);

    ChangeForTendered(text, 12.5);

    // The discount answer, applied to a line: taken whole, or refused with nothing changed.
    double rate = 0;
    if (ReadDiscountRate(text, rate)) {
        FUZZ_CHECK(std::isfinite(rate));
        Sale sale;
        sale.addLine(QStringLiteral("B"), QStringLiteral("N"), 12.5, 3);
        try {
            sale.setDiscountRate(rate);
            FUZZ_CHECK(sale.discountRate() == rate);
            FUZZ_CHECK((rate == 0) == !sale.line(0).discountedTotal);
        } catch (const AppError&) {
            FUZZ_CHECK(sale.discountRate() == 0 && !sale.line(0).discountedTotal);
        }
    }

    // Any bit pattern as an amount.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkMoneyText(raw);
    }
    return 0;
}

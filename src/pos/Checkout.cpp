#include "pos/Checkout.h"

#include "platform/Environment.h"
#include "pos/MoneyAmount.h"
#include "pos/Payment.h"
#include "pos/Receipt.h"
#include "pos/ReceiptBook.h"
#include "pos/ReceiptNumberReservation.h"
#include "pos/ReceiptOutput.h"
#include "pos/RefundRecorder.h"
#include "pos/Sale.h"
#include "pos/SaleRecorder.h"
#include "pos/TenderTexts.h"

#include <QDateTime>

#include <algorithm>

Checkout::Checkout(Database& db, ReceiptNumberKeeper& numbers, ReceiptOutput& output, const ReceiptBook& book,
                   const Environment& env)
    : m_db(db)
    , m_numbers(numbers)
    , m_output(output)
    , m_book(book)
    , m_env(env)
{
}

CheckoutResult Checkout::sell(Sale& sale, const Payment& payment, const std::function<bool()>& printReceipt)
{
    CheckoutResult result;
    std::optional<ReceiptNumberReservation> number;
    if (payment.paid())
        number.emplace(m_numbers);
    const RecordedSale stored = RecordSale(m_db, sale.checkoutLines(), payment,
                                           number ? std::optional<qint64>(number->number()) : std::nullopt);
    if (!stored.committed)
        return result;
    result.recorded = true;
    // The stored lines carry the number: it is spent, whatever becomes of the receipt.
    if (number)
        number->keep();

    const bool openDrawer = payment.takesCash() && m_output.hasCashDrawer();
    const bool print = printReceipt && printReceipt();
    if (payment.paid() || print) {
        if (!number)
            number.emplace(m_numbers);
        const QString receipt = RenderReceipt(ReceiptTemplateText(m_book.ReceiptTemplate),
                                              QString::number(number->number()), stored.listText,
                                              MoneyAmount::fromCents(stored.totalCents).value(),
                                              QDateTime::fromString(stored.recordedAt,
                                                                    QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                              m_book.CurrencySymbol, m_env.shortDateFormat(),
                                              m_env.longTimeFormat(),
                                              TendersReceiptText(stored.tenders, m_book.CurrencySymbol),
                                              stored.saleId);
        const OutputResult printed = print ? m_output.print(receipt, openDrawer) : OutputResult::cancelled();
        const bool failed = printed.status == OutputResult::Status::Failed;
        // A receipt whose printing failed may be on paper in part: it keeps its number and its file, for a
        // reprint from the history once the printer is back.
        if (payment.paid() || printed.status == OutputResult::Status::Done || failed) {
            number->keep();
            result.receiptNumber = number->number();
            m_output.save(number->number(), receipt);
        }
        if (failed)
            result.failure = printed.failure;
    }
    sale.clear();
    // Without a receipt the drawer still opens; the sale is complete by now, so a failure here only reports.
    if (openDrawer && !print) {
        const OutputResult opened = m_output.openCashDrawer();
        if (opened.status == OutputResult::Status::Failed)
            result.failure = opened.failure;
    }
    return result;
}

CheckoutResult Checkout::refund(const RefundRequest& request, const std::function<bool()>& printReceipt)
{
    CheckoutResult result;
    ReceiptNumberReservation number(m_numbers);
    const RecordedRefund stored = RecordRefund(m_db, request, number.number());
    if (!stored.committed) {
        result.refusal = stored.refusal;
        return result;
    }
    result.recorded = true;
    number.keep();
    result.receiptNumber = number.number();

    const bool cashOut = std::any_of(stored.tenders.begin(), stored.tenders.end(), [](const TenderRow& tender) {
        return tender.type == QLatin1String("Cash") && tender.amountCents != 0;
    });
    const bool openDrawer = cashOut && m_output.hasCashDrawer();
    const bool print = printReceipt && printReceipt();
    const QString receipt = RenderReceipt(
        ReceiptTemplateText(m_book.RefundTemplate), QString::number(number.number()), stored.listText,
        MoneyAmount::fromCents(stored.totalCents).value(),
        QDateTime::fromString(stored.recordedAt, QStringLiteral("yyyy-MM-dd HH:mm:ss")), m_book.CurrencySymbol,
        m_env.shortDateFormat(), m_env.longTimeFormat(), TendersReceiptText(stored.tenders, m_book.CurrencySymbol),
        stored.saleId,
        stored.originalReceiptNumber ? QString::number(*stored.originalReceiptNumber) : QString());
    const OutputResult printed = print ? m_output.print(receipt, openDrawer) : OutputResult::cancelled();
    if (printed.status == OutputResult::Status::Failed)
        result.failure = printed.failure;
    m_output.save(number.number(), receipt);
    if (openDrawer && !print) {
        const OutputResult opened = m_output.openCashDrawer();
        if (opened.status == OutputResult::Status::Failed)
            result.failure = opened.failure;
    }
    return result;
}

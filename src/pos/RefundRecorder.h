#pragma once

#include "pos/Refund.h"

#include <QString>
#include <optional>
#include <vector>

class Database;

// What the refund receipt needs of a stored refund. committed is false when nothing was stored: refusal then says
// why in the user's language when the refund itself was refused (nothing chosen, more than is left, not a sale);
// it is empty when the database failed, which has been reported.
struct RecordedRefund
{
    bool committed = false;
    QString refusal;
    QString saleId;
    QString recordedAt;                          // "yyyy-MM-dd HH:mm:ss"
    qint64 totalCents = 0;                       // negative: the money given back
    QString listText;                            // the receipt's list: negative quantities, CR LF between lines
    std::vector<TenderRow> tenders;
    std::optional<qint64> originalReceiptNumber; // none for a refund without a receipt
};

// Stores a refund in one transaction, all of it or nothing:
// 1. with a receipt, the original sale record locked (on a server) and what is left of its lines read again, so
//    that two tills refunding the same receipt take turns; a quantity over what is left refuses the refund;
// 2. the refund's record: kind refund, the receipt number, the till's time, the original's sale id, the reason,
//    the customer of a sale on account, subtotal = total = minus the sum of its lines, no discount;
// 3. one tender of the chosen type for the total (Account for a sale on account, whatever was chosen);
// 4. its lines where the original's are: paid lines in odemeler under the receipt number, credit lines in
//    veresiyeler as the customer's open lines, each at the original's stored price, with a negative quantity and
//    linked to the original line;
// 5. the stock of the lines going back to stock raised by their quantity, in barcode order.
RecordedRefund RecordRefund(Database& db, const RefundRequest& request, std::optional<qint64> receiptNumber);

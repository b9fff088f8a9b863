#pragma once

class AppContext;
class QWidget;
struct RefundRequest;

// Completes a refund through the checkout (Checkout::refund) with the till's receipt output, as CompleteSale
// completes a sale: asks "Print?" when "Ask Print" is on, and once the refund is stored shows what went wrong with
// the printer or the drawer, if anything. A refund the checkout refused (more than is left, nothing chosen) shows
// why. False when nothing was stored.
bool CompleteRefund(AppContext& context, const RefundRequest& request, QWidget* parent);

#pragma once

#include "store/CashMovementsTable.h"

class AppContext;

// The till's session commands of the Operations and Reports menus. Each reads the cashier's answers in its window
// and leaves the work to the session logic (cashup/TillSessions).

// Operations > "Open Till...": a session with the float counted into the drawer; refused while one is open.
void OpenTillCommand(AppContext& context);

// Operations > "Cash In..." and "Cash Out...": an amount and a reason, stored in the till's session; the cash drawer
// opens when one is set up.
void CashMovementCommand(AppContext& context, CashMovementKind kind);

// Operations > "Close Till...": refused while a sale is on the screen or no session is open; otherwise the blind
// count, then the session is closed with its Z report, which is printed and shown.
void CloseTillCommand(AppContext& context, bool saleOnScreen);

// Reports > "X Report": the figures of the till's open session, shown and printable; nothing is changed.
void XReportCommand(AppContext& context);

// Operations > "Open Cash Drawer": the drawer opened without a sale, and recorded as such in the till's session.
void OpenCashDrawerCommand(AppContext& context);

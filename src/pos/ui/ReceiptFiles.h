#pragma once

#include <QString>

class AppContext;

// Writes a receipt file (UTF-8 with byte-order mark, CR LF lines) in one piece. On failure shows "Cannot create
// file", two line breaks and the path (caption "ERROR", error icon) and returns false.
bool TXTkaydet(AppContext& context, const QString& text, const QString& path);
// Saves the rendered receipt as <ReceiptFolder>/<receiptNumber>.txt; does nothing while no folder is set.
void FisKaydet(AppContext& context, const QString& text, qint64 receiptNumber);

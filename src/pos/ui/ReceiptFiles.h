#pragma once

#include <QString>

class AppContext;

// Writes a receipt file (UTF-8 with byte-order mark, CR LF lines) in one piece. On failure shows "Cannot create
// file", two line breaks and the path (caption "ERROR", error icon) and returns false.
bool TXTkaydet(AppContext& context, const QString& text, const QString& path);
// Saves the rendered receipt as <ReceiptFolder>/<receiptNumber>.txt; does nothing while no folder is set.
void FisKaydet(AppContext& context, const QString& text, qint64 receiptNumber);
// Advances ReceiptNumber and writes it to the settings file at once.
void FisNoArtir(AppContext& context);

// The receipt number of a sale's receipt. The number is advanced and written to the settings file (FisNoArtir)
// as soon as it is taken, before the sale is stored, printed or saved, so a crash in between can skip a number
// but never give the next sale one that a stored sale or a saved receipt already carries. Unless keep() is
// called, the number is given back when the reservation ends: the sale ended without a receipt (it could not
// be stored, or a credit sale's print dialog was cancelled).
class ReceiptNumberReservation
{
public:
    explicit ReceiptNumberReservation(AppContext& context);
    ~ReceiptNumberReservation();
    ReceiptNumberReservation(const ReceiptNumberReservation&) = delete;
    ReceiptNumberReservation& operator=(const ReceiptNumberReservation&) = delete;

    qint64 number() const { return m_number; }
    void keep() { m_kept = true; }

private:
    AppContext& m_context;
    qint64 m_number;
    bool m_kept = false;
};

#pragma once

#include <QtGlobal>

class ReceiptNumberKeeper;

// The receipt number of one sale's receipt. The next number is advanced and stored (FisNoArtir) as soon as this
// one is taken, before the sale is stored, printed or saved, so a crash in between can skip a number but never
// give the next sale one that a stored sale or a saved receipt already carries. Unless keep() is called, the
// number is given back when the reservation ends: the sale ended without a receipt (it could not be stored, or
// a credit sale's print dialog was cancelled).
class ReceiptNumberReservation
{
public:
    explicit ReceiptNumberReservation(ReceiptNumberKeeper& numbers);
    ~ReceiptNumberReservation();
    ReceiptNumberReservation(const ReceiptNumberReservation&) = delete;
    ReceiptNumberReservation& operator=(const ReceiptNumberReservation&) = delete;

    qint64 number() const { return m_number; }
    void keep() { m_kept = true; }

private:
    ReceiptNumberKeeper& m_numbers;
    qint64 m_number;
    bool m_kept = false;
};

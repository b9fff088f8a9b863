#include "pos/ReceiptNumberReservation.h"

#include "pos/ReceiptNumberKeeper.h"

ReceiptNumberReservation::ReceiptNumberReservation(ReceiptNumberKeeper& numbers)
    : m_numbers(numbers)
    , m_number(numbers.next())
{
    FisNoArtir(numbers);
}

ReceiptNumberReservation::~ReceiptNumberReservation()
{
    if (!m_kept)
        m_numbers.setNext(m_number);
}

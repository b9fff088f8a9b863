#include "pos/ReceiptNumberKeeper.h"

void FisNoArtir(ReceiptNumberKeeper& numbers)
{
    numbers.setNext(numbers.next() + 1);
}

#pragma once

#include <QtGlobal>

// The one place the next receipt number lives. A number written here is stored at once, so a receipt number
// that a sale has taken is never handed out again after a crash.
class ReceiptNumberKeeper
{
public:
    virtual ~ReceiptNumberKeeper() = default;

    // The number the next receipt gets.
    virtual qint64 next() const = 0;
    virtual void setNext(qint64 number) = 0;
};

// Advances the next receipt number by one.
void FisNoArtir(ReceiptNumberKeeper& numbers);

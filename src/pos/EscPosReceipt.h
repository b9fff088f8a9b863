#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The byte stream an ESC/POS receipt printer takes.

// The printer's character table number (the n of ESC t n) for a code page; nullopt when the printer has none.
std::optional<int> EscPosCharacterTable(int codePage);
// The code pages a receipt printer can be set to, in ascending order.
QList<int> EscPosCodePages();

struct EscPosFormat
{
    int columns = 42;
    int codePage = 437;
    bool cut = true;
};

// ESC @, ESC t n, the text's lines encoded into the code page (characters it lacks become '?', control
// characters too, so no text can pass printer commands), each line longer than the paper wrapped at the column
// count (at the last blank that fits, else hard), a few line feeds, and GS V 0 when cutting.
QByteArray EscPosReceiptBytes(const QString& text, const EscPosFormat& format);
// ESC p 0 t1 t2: a pulse on the drawer port's pin 2 that opens the cash drawer.
QByteArray EscPosDrawerPulse();

#pragma once

#include <QString>

class TAppForm;

// Writes a receipt file (UTF-8 with byte-order mark, CR LF lines) in one piece. On failure shows "Cannot create
// file", two line breaks and the path (caption "ERROR", error icon) and returns false.
bool TXTkaydet(TAppForm& main, const QString& text, const QString& path);
// Saves the rendered receipt as <ReceiptFolder>/<ReceiptNumber>.txt; does nothing while no folder is set.
void FisKaydet(TAppForm& main, const QString& text);
// Advances ReceiptNumber and writes it to the settings file at once.
void FisNoArtir(TAppForm& main);

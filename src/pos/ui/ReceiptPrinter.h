#pragma once

#include <QString>

class Dialogs;
class QWidget;

// Prints plain text through the print dialog: lines from the top-left corner in the printer's default font,
// a line wider than the page continued on the next line, a new page when one is full, and a final line break.
// The text is first put through the ANSI code page, as the printer gets it. A non-empty job title names the
// print job. Returns true when printed, false when the dialog was cancelled; raises AppError "Printer not
// found!" (translated only when asked) when printing fails.
bool PrintReceiptText(QWidget* parent, Dialogs& dialogs, const QString& text, const QString& jobTitle,
                      int ansiCodePage, bool translateError);

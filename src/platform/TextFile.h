#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

enum class TextEncoding { Utf8, Ansi };

// Reads a text file's lines, replacing the list's contents. A byte-order mark (UTF-8, UTF-16 LE/BE) decides the
// encoding over the one asked for. UTF-8 is read strictly: bytes that are not valid UTF-8 make the read fail, so
// the caller can try again in the ANSI code page. Lines end at CR LF, CR or LF; a final line break adds no
// empty line. Returns false (and leaves the list untouched) when the file cannot be opened or decoded.
bool LoadLinesFromFile(const QString& path, TextEncoding encoding, int ansiCodePage, QStringList& lines,
                       QString* error = nullptr);

// Reads the file once and decodes it as UTF-8 (a byte-order mark decides first), or, when its bytes are not
// valid UTF-8, in the ANSI code page: what a caller does with LoadLinesFromFile and a second try in ANSI.
bool LoadLinesUtf8OrAnsi(const QString& path, int ansiCodePage, QStringList& lines, QString* error = nullptr);

// Decodes bytes the same way LoadLinesFromFile does; false when they are not valid in the chosen encoding.
bool DecodeText(const QByteArray& bytes, TextEncoding encoding, int ansiCodePage, QString& text);
// Splits text into lines at CR LF, CR or LF, without an empty line after a final break.
QStringList SplitLines(const QString& text);

// Writes the bytes to a temporary file beside the target and renames it over the target, so a crash leaves
// either the old or the new file. Returns false (with a reason) when that fails; the old file is then intact.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Bytes of lines, each followed by CR LF, in UTF-8 (with a byte-order mark when asked).
QByteArray Utf8CrLfLines(const QStringList& lines, bool withBom);

#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// One product read from a line of an import file. The texts are taken literally (untrimmed); an empty price or
// stock has become "0".
struct ImportedProduct
{
    QString barcode;
    QString name;
    QString price;
    QString stock;

    bool operator==(const ImportedProduct&) const = default;
};

// Splits a line into barcode, name, price and stock at the separator; anything after the stock's following
// separator is ignored. Nothing comes back for a line that is skipped: the header (first line whose barcode is
// exactly "Barcode") or a line whose barcode or name is blank.
std::optional<ImportedProduct> ParseImportLine(QStringView line, QChar separator, bool isFirstLine);

// Reads an import file once: as UTF-8, or in the ANSI code page when the bytes are not valid UTF-8; a
// byte-order mark decides instead. Returns false with the file error when the file cannot be read.
bool ReadImportFile(const QString& path, int ansiCodePage, QStringList& lines, QString* error = nullptr);

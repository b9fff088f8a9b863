#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <functional>

class Database;
class LongTaskProgress;

struct ProductImportResult
{
    bool fileRead = true; // false: the file could not be read; error says why and nothing was imported
    QString error;
    int imported = 0;     // inserts attempted, the failed ones included (the "Imported: N entries" count)
    int failed = 0;
    bool cancelled = false; // stopped on request: rolled back, nothing was imported
};

using InsertErrorReporter = std::function<void(const QString& engineMessage)>;

// Inserts one product per usable line into urunler inside one transaction, with one prepared statement and the
// values bound. A failing insert is handed to the reporter and the import goes on with the next line. On a
// server the products go in batches of COPY; a line whose price or stock the server would refuse is such a
// failing insert, and a batch the server refuses stores nothing of the import (all count as failed). With a
// progress, each line is a step and a cancel rolls the whole import back.
ProductImportResult InsertImportedProducts(Database& db, const QStringList& lines, QChar separator,
                                           const InsertErrorReporter& reportInsertError,
                                           LongTaskProgress* progress = nullptr);

// Reads the file (ReadImportFile) and imports its lines; an unreadable file stops before the transaction.
ProductImportResult ImportProducts(Database& db, const QString& path, QChar separator, int ansiCodePage,
                                   const InsertErrorReporter& reportInsertError,
                                   LongTaskProgress* progress = nullptr);

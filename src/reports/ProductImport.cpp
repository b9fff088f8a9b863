#include "reports/ProductImport.h"

#include "core/LongTaskProgress.h"
#include "reports/ProductImportFile.h"
#include "store/ProductBatchInsert.h"
#include "store/Transaction.h"

ProductImportResult InsertImportedProducts(Database& db, const QStringList& lines, QChar separator,
                                           const InsertErrorReporter& reportInsertError,
                                           LongTaskProgress* progress)
{
    const auto cancelledResult = [] {
        ProductImportResult cancelled;
        cancelled.cancelled = true;
        return cancelled; // the transaction rolls back
    };
    ProductImportResult result;
    if (progress)
        progress->setTotal(lines.size());
    Transaction transaction(db);
    if (!transaction.active())
        return result;
    ProductBatchInsert insert(db);
    if (insert.ready()) {
        for (qsizetype i = 0; i < lines.size() && !insert.batchFailed(); ++i) {
            if (progress) {
                if (progress->cancelled())
                    return cancelledResult();
                progress->advance();
            }
            const auto product = ParseImportLine(lines.at(i), separator, i == 0);
            if (!product)
                continue;
            ++result.imported;
            QString failure;
            if (!insert.add(product->barcode, product->name, product->price, product->stock, &failure)) {
                ++result.failed;
                if (reportInsertError)
                    reportInsertError(failure);
            }
        }
        insert.finish();
    }
    if (progress && progress->cancelled())
        return cancelledResult();
    if (insert.batchFailed()) {
        // The failure was reported; the server stores none of the import.
        result.failed = result.imported;
        return result;
    }
    // A cancel that comes during the commit interrupts it, and then nothing was imported either.
    if (!transaction.commit() && progress && progress->cancelled())
        return cancelledResult();
    return result;
}

ProductImportResult ImportProducts(Database& db, const QString& path, QChar separator, int ansiCodePage,
                                   const InsertErrorReporter& reportInsertError, LongTaskProgress* progress)
{
    QStringList lines;
    QString error;
    if (!ReadImportFile(path, ansiCodePage, lines, &error)) {
        ProductImportResult result;
        result.fileRead = false;
        result.error = error;
        return result;
    }
    return InsertImportedProducts(db, lines, separator, reportInsertError, progress);
}

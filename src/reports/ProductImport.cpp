#include "reports/ProductImport.h"

#include "app/LongTaskProgress.h"
#include "reports/ProductImportFile.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"

ProductImportResult InsertImportedProducts(Database& db, const QStringList& lines, QChar separator,
                                           const InsertErrorReporter& reportInsertError,
                                           LongTaskProgress* progress)
{
    ProductImportResult result;
    if (progress)
        progress->setTotal(lines.size());
    Transaction transaction(db);
    if (!transaction.active())
        return result;
    Statement insert = ProductsTable(db).insertStatement();
    if (insert.isValid()) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (progress) {
                if (progress->cancelled()) {
                    ProductImportResult cancelled;
                    cancelled.cancelled = true;
                    return cancelled; // the transaction rolls back
                }
                progress->advance();
            }
            const auto product = ParseImportLine(lines.at(i), separator, i == 0);
            if (!product)
                continue;
            ++result.imported;
            insert.bindAll({product->barcode, product->name, product->price, product->stock});
            if (!insert.exec()) {
                ++result.failed;
                if (reportInsertError)
                    reportInsertError(insert.error());
            }
            insert.reset();
        }
    }
    transaction.commit();
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

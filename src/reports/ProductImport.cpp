#include "reports/ProductImport.h"

#include "app/LongTaskProgress.h"
#include "reports/ProductImportFile.h"
#include "store/ProductCopy.h"
#include "store/ProductsTable.h"
#include "store/Transaction.h"

namespace {

// Rows per COPY on a server: big enough that round trips cost nothing, small enough that a cancel is quick.
constexpr int kServerBatchRows = 5000;

// Where the import's products go: on data.db one prepared insert per product, each failing on its own; on a
// server batches of COPY, where a row the server would refuse is left out and reported as a failed insert.
class ProductSink
{
public:
    ProductSink(Database& db, const InsertErrorReporter& reportInsertError)
        : m_onServer(db.isOnServer()), m_copy(db), m_reportInsertError(reportInsertError)
    {
        if (!m_onServer)
            m_insert = ProductsTable(db).insertStatement();
    }

    bool ready() const { return m_onServer || m_insert.isValid(); }

    // False when the product was not added.
    bool add(const ImportedProduct& product)
    {
        if (!m_onServer) {
            m_insert.bindAll({product.barcode, product.name, product.price, product.stock});
            const bool inserted = m_insert.exec();
            if (!inserted)
                reportFailure(m_insert.error());
            m_insert.reset();
            return inserted;
        }
        QString refusal;
        if (!m_copy.add(product.barcode, product.name, product.price, product.stock, &refusal)) {
            reportFailure(refusal);
            return false;
        }
        if (m_copy.pending() >= kServerBatchRows)
            flush();
        return true;
    }

    // Sends what is waiting.
    void flush()
    {
        if (m_onServer && !m_batchFailed)
            m_batchFailed = !m_copy.send();
    }
    // A batch failed: it was reported, and the server refuses the rest of the transaction.
    bool batchFailed() const { return m_batchFailed; }

private:
    void reportFailure(const QString& message)
    {
        if (m_reportInsertError)
            m_reportInsertError(message);
    }

    bool m_onServer;
    bool m_batchFailed = false;
    ProductCopy m_copy;
    Statement m_insert;
    const InsertErrorReporter& m_reportInsertError;
};

} // namespace

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
    ProductSink sink(db, reportInsertError);
    if (sink.ready()) {
        for (qsizetype i = 0; i < lines.size() && !sink.batchFailed(); ++i) {
            if (progress) {
                if (progress->cancelled())
                    return cancelledResult();
                progress->advance();
            }
            const auto product = ParseImportLine(lines.at(i), separator, i == 0);
            if (!product)
                continue;
            ++result.imported;
            if (!sink.add(*product))
                ++result.failed;
        }
        sink.flush();
    }
    if (progress && progress->cancelled())
        return cancelledResult();
    if (sink.batchFailed()) {
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

#pragma once

#include "store/Database.h"

#include <QString>
#include <memory>

// Many products added to urunler inside the caller's transaction (the import), as a RowBatch: on data.db each is
// one run of a prepared insert and fails on its own; on a server they go in batches of COPY, and a row the
// server's columns would refuse is refused before it is added. Every product of the series is recorded at the
// time it began.
class ProductBatchInsert
{
public:
    explicit ProductBatchInsert(Database& db);

    // False when the insert could not be prepared (reported); nothing can be added then.
    bool ready() const { return m_batch != nullptr; }
    // Adds a product, with price and stock as the numbers they read as. False, with the engine's words in
    // failure, when it was not added.
    bool add(const QString& barcode, const QString& name, const QString& price, const QString& stock,
             QString* failure);
    // Sends the rows still waiting.
    void finish();
    // A batch failed: it was reported, and the server refuses the rest of the transaction.
    bool batchFailed() const { return m_batchFailed; }

private:
    void sendBatch();

    Database& m_db;
    const QString m_recorded; // kayittarihi
    std::unique_ptr<RowBatch> m_batch;
    bool m_batchFailed = false;
};

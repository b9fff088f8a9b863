#pragma once

#include "store/Database.h"

#include <QByteArray>
#include <QString>

// Many products added to urunler inside the caller's transaction (the import). On data.db each is one run of a
// prepared insert and fails on its own. On a server they go in batches of COPY, one round trip for thousands of
// rows; a COPY stores all of its rows or none, so each row is first checked against what the server's columns
// take, and a row it would refuse is not added. Every product of the series is recorded at the time it began.
class ProductBatchInsert
{
public:
    explicit ProductBatchInsert(Database& db);

    // False when the insert could not be prepared (reported); nothing can be added then.
    bool ready() const { return m_onServer || m_insert.isValid(); }
    // Adds a product, with price and stock as the numbers they read as. False, with the engine's words in
    // failure, when it was not added.
    bool add(const QString& barcode, const QString& name, const QString& price, const QString& stock,
             QString* failure);
    // Sends the rows still waiting.
    void finish();
    // A batch failed: it was reported, and the server refuses the rest of the transaction.
    bool batchFailed() const { return m_batchFailed; }

private:
    bool addToBatch(const QString& barcode, const QString& name, const QString& price, const QString& stock,
                    QString* refusal);
    void sendBatch();

    Database& m_db;
    const bool m_onServer;
    const QString m_recorded; // kayittarihi
    Statement m_insert;
    QByteArray m_rows; // COPY's text format
    int m_pending = 0;
    bool m_batchFailed = false;
};

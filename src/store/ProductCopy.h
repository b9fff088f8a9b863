#pragma once

#include <QByteArray>
#include <QString>

class Database;

// Products added to urunler on a server in one COPY each batch: one round trip for thousands of rows instead
// of one per row. A COPY stores all of its rows or none, so each row is checked first against what the
// server's columns take, and a row it would refuse is not added.
class ProductCopy
{
public:
    explicit ProductCopy(Database& db) : m_db(db) {}

    // Adds the product to the next batch, with price and stock as the numbers they read as. A value the server
    // would refuse adds nothing: false, and refusal says why in the server's own words.
    bool add(const QString& barcode, const QString& name, const QString& price, const QString& stock,
             QString* refusal);
    int pending() const { return m_pending; }
    // Sends the batch in one COPY; a failure is reported and none of the batch's rows are stored.
    bool send();

private:
    Database& m_db;
    QByteArray m_rows; // COPY's text format
    int m_pending = 0;
};

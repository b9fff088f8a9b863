#pragma once

#include <QString>

class Database;

// Every statement that writes odemeler. Failures are reported by the database's error reporter.
class PaymentsTable
{
public:
    explicit PaymentsTable(Database& db) : m_db(db) {}

    // One paid line; receipt number 0 for a settled credit line.
    bool insert(qint64 receiptNumber, const QString& barcode, const QString& name, const QVariant& quantity,
                const QString& price);

private:
    Database& m_db;
};

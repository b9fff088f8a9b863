#pragma once

#include "store/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct CustomerRecord
{
    qint64 id = 0;
    QString name;
    QString recorded; // kayittarihi
};

// Every statement on musteriler. Failures are reported by the database's error reporter.
class CustomersTable
{
public:
    explicit CustomersTable(Database& db) : m_db(db) {}

    // Every customer's name, in order.
    QStringList names();
    // Every customer (id and name), in order of name.
    std::vector<CustomerRecord> all();
    // The customers of that name; nothing when the lookup failed.
    std::optional<std::vector<CustomerRecord>> named(const QString& name);
    bool insert(const QString& name);
    bool remove(const QString& name);
    // Every column of every customer, in the order they were added.
    Statement allRows();
    // How many rows allRows() walks; -1 when the count failed.
    qint64 rowCount();
    bool removeAll();

private:
    Database& m_db;
};

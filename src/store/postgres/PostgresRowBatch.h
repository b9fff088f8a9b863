#pragma once

#include "store/RowBatch.h"

#include <QByteArray>

class PostgresConnection;

// Rows sent to the server in batches of COPY, one round trip for thousands of rows. A COPY stores all of its rows
// or none, so each row is first checked against what the server's columns take, and a row it would refuse is not
// added.
class PostgresRowBatch final : public RowBatch
{
public:
    PostgresRowBatch(PostgresConnection& connection, const QString& table, std::vector<BatchColumn> columns);

    bool add(const std::vector<QVariant>& values, QString* refusal) override;
    int waiting() const override { return m_waiting; }
    bool full() const override;
    bool send(QString* error) override;

private:
    PostgresConnection& m_connection;
    const std::vector<BatchColumn> m_columns;
    QString m_copyStatement;
    QByteArray m_rows; // COPY's text format
    int m_waiting = 0;
};

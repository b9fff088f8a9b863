#pragma once

#include <QString>
#include <QVariant>
#include <vector>

// What a column of a RowBatch holds: an engine that sends many rows at once checks each row against it, so that
// one row it could not store does not spoil the rows sent with it.
enum class ColumnKind { Text, Real, Integer };

struct BatchColumn
{
    QString name;
    ColumnKind kind;
};

// Many rows added to one table inside the caller's transaction, as quickly as the engine takes them: one insert
// at a time where an insert is cheap (a file), or gathered and sent together where each statement is a round
// trip (a server, which then stores all of a batch or none of it). Made by Database::rowBatch.
class RowBatch
{
public:
    virtual ~RowBatch() = default;

    // Adds a row, its values in the columns' order. False, with the engine's words in refusal, when this row is
    // refused on its own; the batch goes on.
    virtual bool add(const std::vector<QVariant>& values, QString* refusal) = 0;
    // Rows added and not yet stored.
    virtual int waiting() const = 0;
    // Enough rows are waiting that they should be sent now.
    virtual bool full() const = 0;
    // Stores the rows waiting, all of them or none (false, with the engine's words); none wait afterwards.
    virtual bool send(QString* error) = 0;
};

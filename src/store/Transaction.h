#pragma once

class Database;

// The one way to write a series of statements as a whole: begins in the constructor (a refusal has been
// reported by the database) and rolls back in the destructor unless commit() succeeded.
//
//     Transaction transaction(db);
//     if (!transaction.active())
//         return false;
//     ... statements ...
//     return transaction.commit();
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // True from a successful begin until commit() or rollback().
    bool active() const { return m_active; }
    // False (reported, and rolled back) when the commit fails or the transaction is not active.
    bool commit();
    void rollback();

private:
    Database& m_db;
    bool m_active = false;
};

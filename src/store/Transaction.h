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
    // True when a statement of the transaction failed in a way that lets nothing more be stored in it (see
    // Database::transactionFailed), or it is not active: a series stops there, with the one failure reported.
    bool failed() const;
    // False (reported, and rolled back) when the commit fails or the transaction is not active.
    bool commit();
    void rollback();

private:
    Database& m_db;
    bool m_active = false;
};

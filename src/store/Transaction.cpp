#include "store/Transaction.h"

#include "store/Database.h"

Transaction::Transaction(Database& db) : m_db(db), m_active(db.BeginTransaction()) {}

Transaction::~Transaction()
{
    rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    return m_db.Commit();
}

bool Transaction::failed() const
{
    return !m_active || m_db.transactionFailed();
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_db.Rollback();
}

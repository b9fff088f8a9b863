#include "store/sqlite/SqliteRowBatch.h"

bool SqliteRowBatch::add(const std::vector<QVariant>& values, QString* refusal)
{
    m_insert->bindAll(values);
    const bool inserted = m_insert->exec();
    if (!inserted)
        *refusal = m_insert->error();
    m_insert->reset();
    return inserted;
}

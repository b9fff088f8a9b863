#include "store/CustomersTable.h"

#include "store/TableRows.h"

QStringList CustomersTable::names()
{
    return FirstColumnTexts(m_db, QStringLiteral("SELECT musteriadi FROM musteriler order by musteriadi;"));
}

std::vector<CustomerRecord> CustomersTable::all()
{
    const QueryResult customers = m_db.Query(QStringLiteral("SELECT id, musteriadi FROM musteriler order by musteriadi;"));
    std::vector<CustomerRecord> all;
    all.reserve(customers.size());
    for (size_t i = 0; i < customers.size(); ++i)
        all.push_back({customers.value(i, QStringLiteral("id")).asInteger(), customers.text(i, QStringLiteral("musteriadi")),
                       QString()});
    return all;
}

std::optional<std::vector<CustomerRecord>> CustomersTable::named(const QString& name)
{
    const QueryResult found =
        m_db.Query(QStringLiteral("SELECT id, musteriadi, kayittarihi FROM musteriler where musteriadi=?;"), {name});
    if (!found.ok)
        return std::nullopt;
    std::vector<CustomerRecord> customers;
    for (size_t i = 0; i < found.size(); ++i)
        customers.push_back({found.value(i, QStringLiteral("id")).asInteger(), found.text(i, QStringLiteral("musteriadi")),
                             found.text(i, QStringLiteral("kayittarihi"))});
    return customers;
}

bool CustomersTable::insert(const QString& name)
{
    return m_db.ExecuteDirect(QStringLiteral("insert into musteriler (musteriadi, kayittarihi) values (?, ?);"),
                              {name, m_db.localNow()});
}

bool CustomersTable::remove(const QString& name)
{
    return m_db.ExecuteDirect(QStringLiteral("delete from musteriler where musteriadi=?;"), {name});
}

qint64 CustomersTable::rowCount()
{
    return TableRows(m_db, "musteriler").count();
}

Statement CustomersTable::allRows()
{
    return TableRows(m_db, "musteriler").all();
}

bool CustomersTable::removeAll()
{
    return TableRows(m_db, "musteriler").removeAll();
}

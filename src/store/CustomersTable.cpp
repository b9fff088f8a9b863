#include "store/CustomersTable.h"

QStringList CustomersTable::names()
{
    const QueryResult customers = m_db.Query(QStringLiteral("SELECT musteriadi FROM musteriler order by musteriadi;"));
    QStringList names;
    names.reserve(qsizetype(customers.size()));
    for (size_t i = 0; i < customers.size(); ++i)
        names << customers.text(i, QStringLiteral("musteriadi"));
    return names;
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
    return m_db.ExecuteDirect(QStringLiteral("insert into musteriler (musteriadi) values (?);"), {name});
}

bool CustomersTable::remove(const QString& name)
{
    return m_db.ExecuteDirect(QStringLiteral("delete from musteriler where musteriadi=?;"), {name});
}

qint64 CustomersTable::rowCount()
{
    Statement count = m_db.prepare(QStringLiteral("SELECT count(*) FROM musteriler;"));
    return count.isValid() && count.next() ? count.integer(0) : -1;
}

Statement CustomersTable::allRows()
{
    return m_db.prepare(QStringLiteral("SELECT * FROM musteriler order by id;"));
}

bool CustomersTable::removeAll()
{
    return m_db.ExecuteDirect(QStringLiteral("DELETE FROM musteriler;"));
}

#include "reports/BulkDelete.h"

#include "store/Database.h"

QString DeleteAllQuestion(DataTable table)
{
    switch (table) {
    case DataTable::Products: return QStringLiteral("Are you sure you want to delete all products?");
    case DataTable::Customers: return QStringLiteral("Are you sure you want to delete all customers?");
    case DataTable::Payments: return QStringLiteral("Are you sure you want to delete all payments?");
    case DataTable::Credits: return QStringLiteral("Are you sure you want to delete all credits?");
    }
    return {};
}

QString DeleteAllStatement(DataTable table)
{
    switch (table) {
    case DataTable::Products: return QStringLiteral("DELETE FROM urunler;");
    case DataTable::Customers: return QStringLiteral("DELETE FROM musteriler;");
    case DataTable::Payments: return QStringLiteral("DELETE FROM odemeler;");
    case DataTable::Credits: return QStringLiteral("DELETE FROM veresiyeler;");
    }
    return {};
}

bool DeleteAllRows(Database& db, DataTable table)
{
    return db.ExecuteDirect(DeleteAllStatement(table));
}

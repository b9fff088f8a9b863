#include "reports/BulkDelete.h"

#include "store/CreditLinesTable.h"
#include "store/CustomersTable.h"
#include "store/PaymentsTable.h"
#include "store/ProductsTable.h"

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

bool DeleteAllRows(Database& db, DataTable table)
{
    switch (table) {
    case DataTable::Products: return ProductsTable(db).removeAll();
    case DataTable::Customers: return CustomersTable(db).removeAll();
    case DataTable::Payments: return PaymentsTable(db).removeAll();
    case DataTable::Credits: return CreditLinesTable(db).removeAll();
    }
    return false;
}

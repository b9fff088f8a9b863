#pragma once

#include "LoadRun.h"

#include "pos/SaleRecorder.h"

#include <QString>
#include <QStringList>
#include <vector>

class RawServer;

// The shop of the load run: its products (every tenth, the best sellers among them, with so little stock that
// it sells out), what each till sells, and the checks of a round's outcome.
class LoadShop
{
public:
    struct Product
    {
        QString barcode;
        QString name;
        MoneyAmount price;
        qint64 stock = 0;
    };
    using Sale = std::vector<SaleLine>;

    explicit LoadShop(const LoadSettings& settings);

    // The till's sales in order, the same in every round and on both sides: a few different products each, the
    // first products of the shop most often, one to three of each.
    const std::vector<Sale>& plan(int till) const { return m_plans.at(size_t(till)); }
    static QString tillName(const QString& round, int till);

    // Empties the sales and puts the products back with their first stock.
    bool reset(RawServer& server, QString* error) const;
    // After a round whose tills are named by round: every stored sale is whole under its own receipt number of
    // its till, no sale that failed is stored, and each product's stock is what it was less what the stored
    // sales took, never below 0. committed[till][sale] says which sales were stored. Gives what is wrong, and
    // in soldOut how many products have none left.
    QStringList check(RawServer& server, const QString& round, const std::vector<std::vector<bool>>& committed,
                      int* soldOut) const;

private:
    std::vector<Product> m_products;
    std::vector<std::vector<Sale>> m_plans;
};

#pragma once

#include "support/AppFixture.h"

#include <QVariant>
#include <vector>

// The main window started in administrator mode, with helpers to put rows into data.db and read them back.
class CatalogueFixture : public AppFixture
{
protected:
    TAppForm& startActive();
    void exec(const QString& sql, const std::vector<QVariant>& params = {});
    QueryResult query(const QString& sql, const std::vector<QVariant>& params = {});
    // One cell as text, or "<none>" when the query has no row.
    QString cell(const QString& sql, const std::vector<QVariant>& params = {});
    int count(const QString& table);
    // A product recorded at 2024-05-01 14:03:27.
    void addProduct(const QString& barcode, const QString& name, const QVariant& price, int stock);
};

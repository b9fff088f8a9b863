#pragma once

#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QVariant>
#include <vector>

class QWidget;

// A catalogue window built on the context, or the main window started in administrator mode for what crosses
// it, with helpers to put rows into data.db and read them back (through the main window's database while it
// runs, else the context's).
class CatalogueFixture : public AppFixture
{
protected:
    TAppForm& startActive();
    // Shows a window built on the context and makes it the active window, so that it has the keyboard focus.
    void showActive(QWidget& window);
    void exec(const QString& sql, const std::vector<QVariant>& params = {});
    QueryResult query(const QString& sql, const std::vector<QVariant>& params = {});
    // One cell as text, or "<none>" when the query has no row.
    QString cell(const QString& sql, const std::vector<QVariant>& params = {});
    int count(const QString& table);
    // A product recorded at 2024-05-01 14:03:27.
    void addProduct(const QString& barcode, const QString& name, const QVariant& price, int stock);

private:
    Database& database();
};

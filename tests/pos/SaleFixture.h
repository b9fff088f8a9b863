#pragma once

#include "pos/ui/SaleScreen.h"
#include "support/AppFixture.h"
#include "support/FindControl.h"

#include <QStringList>
#include <QVariant>

// The main window on the sale screen, with helpers to stock products, scan codes and read the list.
class SaleFixture : public AppFixture
{
protected:
    SaleScreen& screen() { return *form->saleScreen(); }
    // A control of the sale screen by its name.
    template <typename Control>
    Control* control(const char* name) { return FindControl<Control>(screen(), name); }
    void addProduct(const QString& barcode, const QString& name, const QVariant& price, qint64 stock = 0);
    // Types the code and Enter into the sale list, as a scanner does.
    void scan(const QString& code);
    // Rows of the sale list, cells joined by '|'.
    QStringList listRows();
    void clickRow(int row);
    void answerDiscount(const QString& answer);
    // Rows of a query, fields joined by '|'.
    QStringList query(const QString& sql);
    qint64 stockOf(const QString& barcode);
    QStringList memoLines();
    // The file's bytes, or "<missing>".
    QByteArray fileBytes(const QString& path);
};

#include "CatalogueFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

TAppForm& CatalogueFixture::startActive()
{
    TAppForm& form = start();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    return form;
}

void CatalogueFixture::showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

Database& CatalogueFixture::database()
{
    return form ? form->context().SQLConnection1() : context->SQLConnection1();
}

void CatalogueFixture::exec(const QString& sql, const std::vector<QVariant>& params)
{
    ASSERT_TRUE(database().ExecuteDirect(sql, params)) << sql.toStdString();
}

QueryResult CatalogueFixture::query(const QString& sql, const std::vector<QVariant>& params)
{
    QueryResult result = database().Query(sql, params);
    EXPECT_TRUE(result.ok) << sql.toStdString();
    return result;
}

QString CatalogueFixture::cell(const QString& sql, const std::vector<QVariant>& params)
{
    const QueryResult result = query(sql, params);
    if (result.empty())
        return QStringLiteral("<none>");
    return result.rows[0][0].asText();
}

int CatalogueFixture::count(const QString& table)
{
    return cell(QStringLiteral("select count(*) from ") + table).toInt();
}

void CatalogueFixture::addProduct(const QString& barcode, const QString& name, const QVariant& price, int stock)
{
    exec(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok, kayittarihi) "
                        "values (?, ?, ?, ?, '2024-05-01 14:03:27');"),
         {barcode, name, price, stock});
}

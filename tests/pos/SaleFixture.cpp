#include "SaleFixture.h"
#include "support/QueryRows.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "pos/SaleListModel.h"

void SaleFixture::addProduct(const QString& barcode, const QString& name, const QVariant& price, qint64 stock)
{
    ASSERT_TRUE(form->context().SQLConnection1().ExecuteDirect(
        QStringLiteral("insert into urunler (barkod,urunadi,fiyat,stok) values (?,?,?,?)"), {barcode, name, price, stock}));
}

void SaleFixture::scan(const QString& code)
{
    auto* list = control<QTreeView>("ListView1");
    QTest::keyClicks(list, code);
    QTest::keyClick(list, Qt::Key_Return);
}

QStringList SaleFixture::listRows()
{
    QStringList rows;
    const SaleListModel& list = *screen().saleList();
    for (int i = 0; i < list.rowCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < SaleListModel::ColumnCount; ++c)
            cells << list.cell(i, SaleListModel::Column(c));
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void SaleFixture::clickRow(int row)
{
    auto* list = control<QTreeView>("ListView1");
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void SaleFixture::answerDiscount(const QString& answer)
{
    dialogs.inputAnswers.push_back(answer);
    control<QPushButton>("Button1")->click();
}

QStringList SaleFixture::query(const QString& sql)
{
    return QueryRows(form->context().SQLConnection1(), sql);
}

qint64 SaleFixture::stockOf(const QString& barcode)
{
    return form->context().SQLConnection1()
        .Query(QStringLiteral("SELECT stok FROM urunler WHERE barkod=?"), {barcode})
        .value(0, QStringLiteral("stok"))
        .asInteger();
}

QStringList SaleFixture::memoLines()
{
    const QString text = control<QPlainTextEdit>("Memo1")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QByteArray SaleFixture::fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

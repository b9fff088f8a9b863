#include "reports/SalesHistoryScreen.h"

#include "app/TAppForm.h"
#include "i18n/Translator.h"

#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QTableView* makeList(QWidget* parent, const QString& name, QAbstractItemModel* model, const QList<int>& widths)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setStretchLastSection(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < widths.size(); ++i)
        view->horizontalHeader()->resizeSection(i, widths[i]);
    return view;
}

} // namespace

SalesHistoryScreen::SalesHistoryScreen(TAppForm& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
{
    setObjectName(QStringLiteral("PanelSellings"));
    m_paymentsModel = new QStandardItemModel(0, 8, this);
    m_creditsModel = new QStandardItemModel(0, 9, this);
    ListView2 = makeList(this, QStringLiteral("ListView2"), m_paymentsModel, {180, 139, 139, 139, 139, 139, 139, 139});
    ListView3 = makeList(this, QStringLiteral("ListView3"), m_creditsModel, {180, 104, 104, 104, 104, 104, 104, 180, 104});
    ListView3->hide();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(QString())->setObjectName(QStringLiteral("Delete2"));
    PopupMenu1->addAction(QString())->setObjectName(QStringLiteral("Print1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addAction(QString())->setObjectName(QStringLiteral("Delete3"));
    PopupMenu2->addAction(QString())->setObjectName(QStringLiteral("Print2"));
    connect(ListView2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ListView2->viewport()->mapToGlobal(pos)); });
    connect(ListView3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(ListView3->viewport()->mapToGlobal(pos)); });

    BitBtn20 = new QPushButton(this);
    BitBtn20->setObjectName(QStringLiteral("BitBtn20"));
    connect(BitBtn20, &QPushButton::clicked, this, [this] { m_main.AnaMenuAc(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView2, 1);
    layout->addWidget(ListView3, 1);
    layout->addWidget(BitBtn20);
}

void SalesHistoryScreen::setCaptions()
{
    m_paymentsModel->setHorizontalHeaderLabels({TranslateText("Date"), TranslateText("Barcode"),
                                                TranslateText("Product"), TranslateText("Price"),
                                                TranslateText("Quantity"), TranslateText("Total"),
                                                TranslateText("ID"), TranslateText("Receipt")});
    m_creditsModel->setHorizontalHeaderLabels({TranslateText("Date"), TranslateText("Customer"),
                                               TranslateText("Barcode"), TranslateText("Product"),
                                               TranslateText("Price"), TranslateText("Quantity"),
                                               TranslateText("Total"), TranslateText("Paid"), TranslateText("ID")});
    for (QMenu* menu : {PopupMenu1, PopupMenu2}) {
        menu->actions().at(0)->setText(TranslateText("Delete"));
        menu->actions().at(1)->setText(TranslateText("Print"));
    }
    BitBtn20->setText(TranslateText("MAIN MENU"));
}

void SalesHistoryScreen::prepare()
{
}

void SalesHistoryScreen::fillFilterLists()
{
}

#include "reports/ui/ReportTable.h"

#include <QHeaderView>
#include <QTableView>

QTableView* MakeReportTable(QWidget* parent, const QString& accessibleName, QAbstractItemModel* model)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QStringLiteral("ListView1"));
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    // Tab leaves the list for the next control; the arrow keys move through its rows.
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

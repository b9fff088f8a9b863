#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

// The read-only list of a report window: whole-row single selection, no editing, no wrapping, fixed row
// heights without row numbers; Tab moves on to the next control.
QTableView* MakeReportTable(QWidget* parent, const QString& accessibleName, QAbstractItemModel* model);

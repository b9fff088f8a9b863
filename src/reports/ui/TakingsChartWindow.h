#pragma once

#include "reports/TakingsSeries.h"

#include <QDialog>

class ChartPanel;
class Dialogs;
class QBarSet;
class QChart;
class QPushButton;

// The takings of the sales history's list as a bar chart: one bar per day (week, month), weekends paler, the
// credit sales as a second series when the credits list is shown. Hovering a bar shows its days and amount.
class TakingsChartWindow : public QDialog
{
    Q_OBJECT

public:
    struct Format
    {
        QString shortDateFormat;
        QString currencySymbol;
    };

    TakingsChartWindow(Dialogs& dialogs, TakingsSeries series, Format format, QWidget* parent = nullptr);

    // The tooltip of a bar of a series (0 payments, 1 credit sales).
    QString barTip(int series, int index) const;

private:
    QChart* buildChart();
    QBarSet* makeSet(const QString& name, double TakingsBucket::*amount, const QColor& color,
                     const QColor& weekendColor);

    ChartPanel* Chart = nullptr;
    QPushButton* CloseButton = nullptr;

    TakingsSeries m_series;
    Format m_format;
};

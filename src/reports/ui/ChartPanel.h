#pragma once

#include <QWidget>

class Dialogs;
class QChart;
class QChartView;
class QHBoxLayout;
class QPushButton;

// A chart with its "Save as picture" and "Print" buttons. The owner builds the chart; the panel shows it, saves
// it as a PNG through the file dialog and prints it through the print dialog. The colours of a chart come from
// the application palette the visual style sets (ChartColors); when the palette changes the panel asks its owner
// for a new chart.
class ChartPanel : public QWidget
{
    Q_OBJECT

public:
    // name: the objectName of the panel, the start of its children's; accessibleName: what the chart shows.
    ChartPanel(Dialogs& dialogs, const QString& name, const QString& accessibleName, QWidget* parent = nullptr);

    // Shows the chart (the panel owns it) in place of the one before.
    void setChart(QChart* chart);
    QChartView* view() const { return m_view; }
    // The chart as it is shown, at the view's size.
    QImage picture() const;
    // Puts a button of the owner's at the end of the row of buttons.
    void addButton(QPushButton* button);
    // The tooltip of the bar under the mouse (an empty text when it has left the bar).
    void setBarTip(const QString& text);

signals:
    void paletteChanged();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SaveClick();
    void PrintClick();

    QPushButton* SaveButton = nullptr;
    QPushButton* PrintButton = nullptr;

    Dialogs& m_dialogs;
    QChartView* m_view = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    QString m_barTip;
};

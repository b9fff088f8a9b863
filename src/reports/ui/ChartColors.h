#pragma once

#include <QColor>
#include <QPalette>

class QChart;

// The colours of a chart under the visual style in force: the window's background and text, and two bar colours
// that stand apart from each other and from the background, each with a paler shade for bars set apart
// (weekends).
struct ChartColors
{
    QColor background;
    QColor text;
    QColor grid;
    QColor bars;
    QColor barsApart;
    QColor secondBars;
    QColor secondBarsApart;

    static ChartColors fromPalette(const QPalette& palette);

    // Background, title, legend and the labels and grid of every axis attached so far.
    void applyTo(QChart& chart) const;
};

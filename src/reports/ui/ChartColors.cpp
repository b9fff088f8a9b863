#include "reports/ui/ChartColors.h"

#include "app/Themes.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLegend>

#include <algorithm>

namespace {

// a moved towards b by the share t (0 keeps a, 1 gives b).
QColor blend(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(float(a.redF() * (1 - t) + b.redF() * t), float(a.greenF() * (1 - t) + b.greenF() * t),
                            float(a.blueF() * (1 - t) + b.blueF() * t));
}

// A bar colour that can be told from the background; the highlight of some styles is close to their window.
QColor visibleOn(const QColor& candidate, const QColor& background, const QColor& text)
{
    if (ContrastRatio(candidate, background) >= 2.0)
        return candidate;
    return blend(text, background, 0.3);
}

// A second hue, far from the first around the colour wheel; orange when the first has none (grey).
QColor secondHue(const QColor& first)
{
    const int hue = first.hslHue() < 0 || first.hslSaturation() < 40 ? 30 : (first.hslHue() + 150) % 360;
    return QColor::fromHsl(hue, std::max(first.hslSaturation(), 170), std::clamp(first.lightness(), 90, 170));
}

} // namespace

ChartColors ChartColors::fromPalette(const QPalette& palette)
{
    ChartColors c;
    c.background = palette.color(QPalette::Active, QPalette::Window);
    c.text = palette.color(QPalette::Active, QPalette::WindowText);
    c.grid = blend(c.text, c.background, 0.8);
    c.bars = visibleOn(palette.color(QPalette::Active, QPalette::Highlight), c.background, c.text);
    c.secondBars = visibleOn(secondHue(c.bars), c.background, c.text);
    // Half way to the background: still a bar, plainly not one of the others.
    c.barsApart = blend(c.bars, c.background, 0.55);
    c.secondBarsApart = blend(c.secondBars, c.background, 0.55);
    return c;
}

void ChartColors::applyTo(QChart& chart) const
{
    chart.setBackgroundBrush(background);
    chart.setBackgroundPen(Qt::NoPen);
    chart.setPlotAreaBackgroundVisible(false);
    chart.setTitleBrush(text);
    chart.legend()->setLabelColor(text);
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(grid);
        axis->setGridLineColor(grid);
        axis->setShadesVisible(false);
    }
}

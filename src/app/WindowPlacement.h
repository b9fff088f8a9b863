#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The top-left corner that centres a window of this size in the screen's available area; a window larger than
// the area keeps its top-left corner (and so its title bar) inside it.
QPoint CentredPosition(const QSize& window, const QRect& available);

#include "app/WindowPlacement.h"

#include <algorithm>

QPoint CentredPosition(const QSize& window, const QRect& available)
{
    const int x = available.x() + (available.width() - window.width()) / 2;
    const int y = available.y() + (available.height() - window.height()) / 2;
    return {std::max(x, available.x()), std::max(y, available.y())};
}

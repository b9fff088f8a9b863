#include "catalogue/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <iterator>

namespace {

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

// A price label with a barcode on it.
QPixmap ProductsPicture(int size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 100.0;
    p.setPen(QPen(QColor(60, 60, 60), 2 * u));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(8 * u, 20 * u, 84 * u, 60 * u), 6 * u, 6 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    const int widths[] = {2, 1, 3, 1, 1, 2, 3, 1, 2, 1, 1, 3, 2, 1, 2, 1, 3, 1, 1, 2};
    qreal x = 18 * u;
    for (int i = 0; i < int(std::size(widths)); ++i) {
        if (i % 2 == 0)
            p.drawRect(QRectF(x, 30 * u, widths[i] * 1.4 * u, 40 * u));
        x += widths[i] * 1.6 * u;
    }
    return pixmap;
}

// Two people.
QPixmap CustomersPicture(int size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 100.0;
    const auto person = [&](qreal cx, qreal scale, const QColor& colour) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QPointF(cx, 38 * u - 10 * scale * u), 13 * scale * u, 13 * scale * u);
        QPainterPath body;
        const qreal w = 26 * scale * u;
        const qreal top = 56 * u - 8 * scale * u;
        body.moveTo(cx - w, 88 * u);
        body.quadTo(cx - w, top, cx, top);
        body.quadTo(cx + w, top, cx + w, 88 * u);
        body.closeSubpath();
        p.drawPath(body);
    };
    person(64 * u, 0.85, QColor(120, 150, 190));
    person(40 * u, 1.0, QColor(70, 110, 160));
    return pixmap;
}

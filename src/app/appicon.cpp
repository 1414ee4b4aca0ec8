#include "appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace appicon {

QPixmap draw(int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // Globe.
    QRadialGradient sea(QPointF(10, 9), 18);
    sea.setColorAt(0, QColor(0x8e, 0xc8, 0xff));
    sea.setColorAt(1, QColor(0x1d, 0x5f, 0xb8));
    p.setPen(QPen(QColor(0x12, 0x3f, 0x7a), 1.2));
    p.setBrush(sea);
    p.drawEllipse(QRectF(2, 2, 22, 22));
    p.setPen(QPen(QColor(255, 255, 255, 150), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8, 2, 10, 22));
    p.drawLine(QPointF(2, 13), QPointF(24, 13));
    p.drawLine(QPointF(4, 7.5), QPointF(22, 7.5));
    p.drawLine(QPointF(4, 18.5), QPointF(22, 18.5));

    // Magnifier.
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x10), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23, 23), QPointF(29.5, 29.5));
    p.setPen(QPen(QColor(0xe8, 0xa0, 0x20), 2.2));
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QRectF(15, 15, 10, 10));
    return pixmap;
}

QIcon icon()
{
    QIcon result;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        result.addPixmap(draw(size));
    return result;
}

} // namespace appicon

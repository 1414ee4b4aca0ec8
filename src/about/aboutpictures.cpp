#include "aboutpictures.h"

#include "app/appicon.h"
#include "browser/makeraddresses.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace aboutpictures {

namespace {
QPainterPath star(QPointF centre, qreal outer, qreal inner, qreal rotationDegrees)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(rotationDegrees + i * 36.0 - 90.0);
        const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}
} // namespace

QPixmap logo()
{
    QPixmap pixmap(150, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, 40);
    band.setColorAt(0, QColor(0x2b, 0x4a, 0x8c));
    band.setColorAt(1, QColor(0x13, 0x24, 0x4d));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(0.5, 0.5, 149, 39), 6, 6);
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawPath(star(QPointF(20, 20), 13, 5.5, 0));
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(38, 0, 108, 40), Qt::AlignVCenter | Qt::AlignLeft, maker::Name);
    return pixmap;
}

QPixmap icon(int size)
{
    return appicon::draw(size);
}

QPixmap frame(int index, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const int step = ((index % 8) + 8) % 8;
    const QColor body = QColor::fromHsv(step * 45, 200, 250);
    p.setPen(QPen(body.darker(160), 2));
    p.setBrush(body);
    p.drawPath(star(QPointF(32, 32), 29, 12, step * 9.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(32, 32), 6, 6);
    return pixmap;
}

QCursor pointer()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 19);
    arrow.lineTo(6, 14);
    arrow.lineTo(10, 22);
    arrow.lineTo(13, 20);
    arrow.lineTo(9, 13);
    arrow.lineTo(16, 13);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(0x13, 0x24, 0x4d));
    p.drawPath(arrow);
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1));
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawPath(star(QPointF(22, 22), 8, 3.4, 0));
    p.end();
    return QCursor(pixmap, 1, 1);
}

} // namespace aboutpictures

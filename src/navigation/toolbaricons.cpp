#include "toolbaricons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace toolbaricons {
namespace {

const char *const FavoriteKeys[] = {"one", "two", "three", "four", "five",
                                    "six", "seven", "eight", "nine", "ten"};

// Every navigation picture is a round badge in the same light, so the group
// reads as one set; the favorites share a star.
void badge(QPainter &p, const QColor &light, const QColor &dark)
{
    QLinearGradient fill(0, 2, 0, 22);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(QPen(dark.darker(140), 1.0));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
    // A soft highlight along the upper rim.
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.5, 3.0, 17, 17), 30 * 16, 120 * 16);
}

QPen whiteStroke(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void arrow(QPainter &p, bool left)
{
    badge(p, QColor(0x7c, 0xc8, 0x6a), QColor(0x2e, 0x7d, 0x32));
    QPainterPath path;
    // Drawn pointing left, mirrored for forward.
    path.moveTo(6.0, 12.0);
    path.lineTo(12.0, 6.5);
    path.lineTo(12.0, 9.8);
    path.lineTo(18.0, 9.8);
    path.lineTo(18.0, 14.2);
    path.lineTo(12.0, 14.2);
    path.lineTo(12.0, 17.5);
    path.closeSubpath();
    if (!left) {
        QTransform mirror;
        mirror.translate(24, 0);
        mirror.scale(-1, 1);
        path = mirror.map(path);
    }
    p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void stop(QPainter &p)
{
    badge(p, QColor(0xf2, 0x7a, 0x6e), QColor(0xb7, 0x1c, 0x1c));
    p.setPen(whiteStroke(2.6));
    p.drawLine(QPointF(8.2, 8.2), QPointF(15.8, 15.8));
    p.drawLine(QPointF(15.8, 8.2), QPointF(8.2, 15.8));
}

void refresh(QPainter &p)
{
    badge(p, QColor(0x7f, 0xb8, 0xf0), QColor(0x15, 0x65, 0xc0));
    p.setPen(whiteStroke(2.2));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(6.5, 6.5, 11, 11);
    p.drawArc(ring, 100 * 16, 280 * 16);
    // Arrow head at the open end of the ring (top, pointing right).
    const qreal angle = qDegreesToRadians(100.0);
    const QPointF tip(12 + 5.5 * qCos(angle), 12 - 5.5 * qSin(angle));
    QPainterPath head;
    head.moveTo(tip + QPointF(3.4, 0));
    head.lineTo(tip + QPointF(-0.6, -3.0));
    head.lineTo(tip + QPointF(-0.6, 3.0));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(head);
}

void home(QPainter &p)
{
    badge(p, QColor(0xff, 0xc4, 0x6b), QColor(0xe0, 0x6d, 0x00));
    QPainterPath house;
    house.moveTo(12, 5.5);
    house.lineTo(18.5, 11.5);
    house.lineTo(16.5, 11.5);
    house.lineTo(16.5, 17.5);
    house.lineTo(13.6, 17.5);
    house.lineTo(13.6, 13.8);
    house.lineTo(10.4, 13.8);
    house.lineTo(10.4, 17.5);
    house.lineTo(7.5, 17.5);
    house.lineTo(7.5, 11.5);
    house.lineTo(5.5, 11.5);
    house.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x3f, 0x00), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(house);
}

void favorite(QPainter &p, int number)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 11.2 : 5.4;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF point(12 + radius * qCos(angle), 12.8 + radius * qSin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    QLinearGradient fill(0, 1, 0, 23);
    fill.setColorAt(0, QColor(0xff, 0xe8, 0x7a));
    fill.setColorAt(1, QColor(0xf0, 0xa8, 0x00));
    p.setPen(QPen(QColor(0xa0, 0x6a, 0x00), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(star);

    QFont font;
    font.setBold(true);
    font.setPixelSize(number < 10 ? 9 : 8);
    p.setFont(font);
    p.setPen(QColor(0x5a, 0x32, 0x00));
    p.drawText(QRectF(4, 7.5, 16, 11), Qt::AlignCenter, QString::number(number));
}

} // namespace

QStringList keys()
{
    QStringList result{QStringLiteral("left"), QStringLiteral("righ"), QStringLiteral("stop"),
                       QStringLiteral("refresh"), QStringLiteral("home")};
    for (const char *key : FavoriteKeys)
        result << QLatin1String(key);
    return result;
}

QPixmap draw(const QString &key, int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / qreal(Size), size / qreal(Size));

    if (key == QLatin1String("left") || key == QLatin1String("righ")) {
        arrow(p, key == QLatin1String("left"));
    } else if (key == QLatin1String("stop")) {
        stop(p);
    } else if (key == QLatin1String("refresh")) {
        refresh(p);
    } else if (key == QLatin1String("home")) {
        home(p);
    } else {
        for (int n = 1; n <= 10; ++n) {
            if (key == QLatin1String(FavoriteKeys[n - 1]))
                favorite(p, n);
        }
    }
    return pixmap;
}

QIcon icon(const QString &key)
{
    QIcon result;
    for (qreal ratio : {1.0, 2.0})
        result.addPixmap(draw(key, Size, ratio));
    return result;
}

QString pictureFor(const QString &buttonKey)
{
    if (buttonKey == QLatin1String("back"))
        return QStringLiteral("left");
    if (buttonKey == QLatin1String("forward"))
        return QStringLiteral("righ");
    return buttonKey;
}

} // namespace toolbaricons

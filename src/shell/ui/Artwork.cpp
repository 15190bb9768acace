// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace Artwork {

QPen pen(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

namespace {

void reminder(QPainter& p) {
    QPainterPath bell;
    bell.moveTo(6, 24);
    bell.cubicTo(9, 21, 8, 16, 9, 12);
    bell.cubicTo(10, 7, 22, 7, 23, 12);
    bell.cubicTo(24, 16, 23, 21, 26, 24);
    bell.closeSubpath();
    p.setPen(pen(QColor(0xa8, 0x74, 0x10), 1.5));
    p.setBrush(Gold);
    p.drawPath(bell);
    p.drawEllipse(QPointF(16, 26.5), 2.5, 2.5);
    p.drawEllipse(QPointF(16, 6), 1.8, 1.8);
}

void roundBadge(QPainter& p, const QColor& fill, const QString& glyph) {
    p.setPen(pen(fill.darker(130), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont f;
    f.setBold(true);
    f.setPixelSize(20);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, glyph);
}

void unload(QPainter& p) {
    p.setPen(pen(Alert, 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 7, 20, 20), 120 * 16, 300 * 16);
    p.drawLine(QPointF(16, 4), QPointF(16, 16));
}

void web(QPainter& p) {
    p.setPen(pen(Sky.darker(130), 1.5));
    p.setBrush(QColor(0xd8, 0xec, 0xff));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 5.5, 13);
    p.drawLine(QPointF(3, 16), QPointF(29, 16));
    p.drawLine(QPointF(5.5, 9.5), QPointF(26.5, 9.5));
    p.drawLine(QPointF(5.5, 22.5), QPointF(26.5, 22.5));
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
}

void paint(Picture picture, QPainter& p) {
    switch (picture) {
    case Picture::Reminder:
        return reminder(p);
    case Picture::Help:
        return roundBadge(p, Sky, QStringLiteral("?"));
    case Picture::Unload:
        return unload(p);
    case Picture::About:
        return roundBadge(p, Plum, QStringLiteral("i"));
    case Picture::Web:
        return web(p);
    }
}

} // namespace

QPixmap pixmap(Picture picture, int size, qreal devicePixelRatio) {
    return pixmap([picture](QPainter& p) { paint(picture, p); }, size, devicePixelRatio);
}

QIcon icon(Picture picture) {
    return icon([picture](QPainter& p) { paint(picture, p); });
}

QIcon icon(const Painter& paint) {
    QIcon result;
    // Qt picks the pixmap matching size x ratio, so 2x screens get their own drawing.
    for (int size : {16, 20, 22, 24, 32, 40, 44, 48, 64})
        result.addPixmap(pixmap(paint, size));
    return result;
}

QPixmap pixmap(const Painter& paint, int size, qreal devicePixelRatio) {
    const int px = qRound(size * devicePixelRatio);
    QPixmap pm(px, px);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(px / 32.0, px / 32.0);
        paint(p);
    }
    pm.setDevicePixelRatio(devicePixelRatio);
    return pm;
}

} // namespace Artwork

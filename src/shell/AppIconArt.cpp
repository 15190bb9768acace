// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/AppIconArt.h"

#include <QPainter>
#include <QPainterPath>

QImage drawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor plum(0x6a, 0x2c, 0x70);
    const QRectF page(s * 0.08, s * 0.16, s * 0.84, s * 0.76);
    p.setPen(Qt::NoPen);
    p.setBrush(plum);
    p.drawRoundedRect(page, s * 0.14, s * 0.14);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.38, s * 0.64, s * 0.44), s * 0.06, s * 0.06);
    p.setBrush(plum);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j)
            p.drawRect(QRectF(s * (0.25 + i * 0.18), s * (0.46 + j * 0.17), s * 0.12, s * 0.1));
    }
    QPainterPath leaf;
    leaf.moveTo(s * 0.5, s * 0.18);
    leaf.cubicTo(s * 0.55, s * 0.02, s * 0.78, s * 0.0, s * 0.86, s * 0.06);
    leaf.cubicTo(s * 0.78, s * 0.2, s * 0.6, s * 0.24, s * 0.5, s * 0.18);
    p.setBrush(QColor(0x3f, 0xa3, 0x4d));
    p.drawPath(leaf);
    return image;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/EventIcons.h"

#include "calendar/EventRules.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using PaintFn = void (*)(QPainter&);

void page(QPainter& p) { // 1: a calendar leaf, the default event icon
    p.setPen(QPen(QColor(70, 70, 90), 1.2));
    p.setBrush(QColor(252, 252, 248));
    p.drawRoundedRect(QRectF(4.5, 6.5, 23, 22), 2, 2);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(4.5, 6.5, 23, 6));
    p.setBrush(QColor(60, 60, 70));
    for (double x : {10.0, 21.0})
        p.drawRoundedRect(QRectF(x - 1, 3.5, 2.5, 6), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 110, 160));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.drawRect(QRectF(7.5 + c * 5, 15 + r * 4.3, 3, 2.6));
    p.setBrush(QColor(220, 60, 40));
    p.drawRect(QRectF(17.5, 19.3, 3, 2.6));
}

void star(QPainter& p) { // 2
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 6.0 : 14.0;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF pt(16 + r * std::cos(a), 17 + r * std::sin(a));
        i ? path.lineTo(pt) : path.moveTo(pt);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor(170, 110, 0), 1.2));
    p.setBrush(QColor(255, 200, 30));
    p.drawPath(path);
}

void heart(QPainter& p) { // 3
    QPainterPath path(QPointF(16, 28));
    path.cubicTo(2, 18, 3, 5, 11, 6);
    path.cubicTo(14, 6.5, 15.5, 9, 16, 11);
    path.cubicTo(16.5, 9, 18, 6.5, 21, 6);
    path.cubicTo(29, 5, 30, 18, 16, 28);
    p.setPen(QPen(QColor(130, 0, 20), 1.2));
    p.setBrush(QColor(225, 30, 60));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 170));
    p.drawEllipse(QRectF(8, 9, 4, 3));
}

void gift(QPainter& p) { // 4
    p.setPen(QPen(QColor(20, 50, 120), 1.2));
    p.setBrush(QColor(50, 110, 220));
    p.drawRect(QRectF(5.5, 13.5, 21, 15));
    p.setBrush(QColor(80, 140, 240));
    p.drawRect(QRectF(4.5, 9.5, 23, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 40));
    p.drawRect(QRectF(14, 9.5, 4, 19));
    p.setPen(QPen(QColor(230, 170, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(9, 4, 7, 5.5));
    p.drawEllipse(QRectF(16, 4, 7, 5.5));
}

void candle(QPainter& p) { // 5
    p.setPen(QPen(QColor(150, 120, 90), 1));
    p.setBrush(QColor(250, 244, 225));
    p.drawRect(QRectF(12.5, 14.5, 7, 14));
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.drawLine(QPointF(16, 14.5), QPointF(16, 11.5));
    QPainterPath flame(QPointF(16, 2));
    flame.cubicTo(21, 8, 20, 12, 16, 12);
    flame.cubicTo(12, 12, 11, 8, 16, 2);
    p.setPen(QPen(QColor(210, 90, 0), 1));
    p.setBrush(QColor(255, 170, 20));
    p.drawPath(flame);
    p.setPen(QPen(QColor(110, 70, 30), 1.2));
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(QRectF(8.5, 27.5, 15, 2.5));
}

void flag(QPainter& p) { // 6
    p.setPen(QPen(QColor(80, 60, 40), 2));
    p.drawLine(QPointF(7, 4), QPointF(7, 29));
    QPainterPath cloth(QPointF(8, 5));
    cloth.cubicTo(14, 2, 19, 9, 27, 5);
    cloth.lineTo(27, 18);
    cloth.cubicTo(19, 22, 14, 15, 8, 18);
    cloth.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 40), 1));
    p.setBrush(QColor(30, 160, 80));
    p.drawPath(cloth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QRectF(14.5, 8.5, 5, 5));
}

void tree(QPainter& p) { // 7
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(QRectF(14, 24, 4, 6));
    p.setPen(QPen(QColor(0, 80, 30), 1));
    p.setBrush(QColor(20, 140, 60));
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 3 + tier * 6.5, half = 6 + tier * 3;
        p.drawPolygon(QPolygonF(
            {QPointF(16, top), QPointF(16 + half, top + 10), QPointF(16 - half, top + 10)}));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 40, 40));
    p.drawEllipse(QRectF(11, 15, 3, 3));
    p.setBrush(QColor(255, 220, 40));
    p.drawEllipse(QRectF(18, 20, 3, 3));
}

void bell(QPainter& p) { // 8
    QPainterPath body(QPointF(5, 24));
    body.cubicTo(9, 21, 8, 8, 16, 6);
    body.cubicTo(24, 8, 23, 21, 27, 24);
    body.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 1.2));
    p.setBrush(QColor(240, 190, 40));
    p.drawPath(body);
    p.setBrush(QColor(200, 140, 10));
    p.drawEllipse(QRectF(13.5, 24, 5, 5));
    p.drawEllipse(QRectF(14, 3, 4, 4));
}

const PaintFn Painters[HolidaysIL::Count] = {page, star, heart, gift, candle, flag, tree, bell};

// The art of picture k drawn afresh on a square of `pixels`, smooth and see-through.
QImage drawArt(int k, int pixels) {
    QImage art(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / double(HolidaysIL::Size), pixels / double(HolidaysIL::Size));
    Painters[k - 1](p);
    return art;
}

QImage drawRaw(int k) {
    const QImage art = drawArt(k, HolidaysIL::Size).convertToFormat(QImage::Format_ARGB32);
    // An image list keeps one bit of transparency: pixels at least half covered become
    // opaque, the rest take the mask colour. No drawn pixel may equal the mask colour.
    QImage raw(art.size(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x) {
            const QRgb c = art.pixel(x, y);
            QRgb out = qAlpha(c) >= 128 ? qRgb(qRed(c), qGreen(c), qBlue(c)) : IconMaskColour;
            if (qAlpha(c) >= 128 && (out & 0xFFFFFF) == (IconMaskColour & 0xFFFFFF))
                out = qRgb(0xC1, 0xC1, 0xC1);
            raw.setPixel(x, y, out);
        }
    return raw;
}

} // namespace

QImage withMaskColour(const QImage& image, QRgb mask) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = mask & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return out;
}

QByteArray toPng(const QImage& image) {
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

namespace HolidaysIL {

QImage raw(int k) {
    return drawRaw(k >= 1 && k <= Count ? k : 1);
}

QImage picture(int k) {
    return withMaskColour(raw(k));
}

QImage drawn(int k, int pixels) {
    return drawArt(k >= 1 && k <= Count ? k : 1, std::max(1, pixels));
}

} // namespace HolidaysIL

EventIcons::EventIcons() {
    for (int k = 1; k <= HolidaysIL::Count; ++k)
        m_pictures[k - 1] = HolidaysIL::picture(k);
}

const QImage& EventIcons::holiday(int k) const {
    return m_pictures[(k >= 1 && k <= HolidaysIL::Count ? k : 1) - 1];
}

QImage EventIcons::scaledHoliday(int k, int pixels) {
    const int key = pixels * 16 + k;
    auto it = m_scaledHolidays.constFind(key);
    if (it != m_scaledHolidays.constEnd())
        return *it;
    // Our own pictures are drawn for the size asked, so a 2x screen gets every detail.
    const QImage img = HolidaysIL::drawn(k, pixels);
    m_scaledHolidays.insert(key, img);
    return img;
}

QImage EventIcons::decoded(const QByteArray& png, int pixels) {
    QHash<QByteArray, QImage>& cache = m_cache[pixels];
    auto it = cache.constFind(png);
    if (it != cache.constEnd())
        return *it;
    QImage img = QImage::fromData(png);
    if (!img.isNull()) {
        img = withMaskColour(img);
        if (img.width() != pixels || img.height() != pixels)
            img = img.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // Pictures come from a handful of icon files; a runaway cache is only a leak.
    if (cache.size() > 2048)
        cache.clear();
    cache.insert(png, img);
    return img;
}

QImage EventIcons::rowIcon(const EventRow& row, bool smallIcons, int pixels) {
    const EventRules::IconChoice choice = EventRules::iconChoice(row, smallIcons);
    QImage img;
    if (choice.source == EventRules::IconChoice::OwnSmall)
        img = decoded(row.smallImg, pixels);
    else if (choice.source == EventRules::IconChoice::OwnIcon)
        img = decoded(row.iconImg, pixels);
    return img.isNull() ? scaledHoliday(choice.picture, pixels) : img;
}

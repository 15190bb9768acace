// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of things and errands: film, dinner, shopping, alarm, pet, garden, home,
// coffee, book, medicine, baby, gym, important, photo, hotel; and the drawing helpers.
#include "EventArt.h"

#include <QPainterPath>

namespace EventArt {

using namespace Palette;

void fillWith(QPainter& p, const QColor& fill, qreal width) {
    p.setPen(line(fill.darker(160), width));
    p.setBrush(fill);
}

QPen line(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QImage render(PaintFn paint) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

namespace {

void movie(QPainter& p) {
    const auto stripes = [&p](const QRectF& band) {
        p.save();
        p.setClipRect(band);
        p.setPen(Qt::NoPen);
        p.setBrush(Paper);
        for (double x = band.left() - 4; x < band.right(); x += 6)
            p.drawPolygon(QPolygonF({QPointF(x, band.bottom()), QPointF(x + 3, band.top()),
                                     QPointF(x + 6, band.top()), QPointF(x + 3, band.bottom())}));
        p.restore();
    };
    fillWith(p, Slate);
    p.drawRect(QRectF(3.5, 13.5, 25, 15));
    stripes(QRectF(4, 14, 24, 4));
    p.setPen(line(Steel, 1.2));
    p.drawLine(QPointF(7, 22), QPointF(25, 22));
    p.drawLine(QPointF(7, 25.5), QPointF(19, 25.5));
    p.save();
    p.translate(3.5, 12.5);
    p.rotate(-15);
    fillWith(p, Slate);
    p.drawRect(QRectF(0, -5, 25, 5));
    stripes(QRectF(0.5, -4.5, 24, 4));
    p.restore();
}

void dinner(QPainter& p) {
    fillWith(p, Paper);
    p.setPen(line(Steel.darker(130), 1.2));
    p.drawEllipse(QPointF(16, 16), 9.5, 9.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Steel, 1.1));
    p.drawEllipse(QPointF(16, 16), 6, 6);
    p.setPen(line(Steel.darker(140), 1.1));
    for (double x : {2.5, 4.2, 5.9})
        p.drawLine(QPointF(x, 4), QPointF(x, 9.5));
    fillWith(p, Steel, 1);
    p.drawRoundedRect(QRectF(2, 9, 4.4, 3), 1.2, 1.2);
    p.drawRoundedRect(QRectF(3.2, 11, 2, 17), 1, 1);
    QPainterPath blade(QPointF(27, 4));
    blade.quadTo(QPointF(30.5, 8), QPointF(29.5, 16));
    blade.lineTo(27, 16);
    blade.closeSubpath();
    p.drawPath(blade);
    fillWith(p, Brown, 1);
    p.drawRoundedRect(QRectF(27, 15.5, 2.6, 12.5), 1, 1);
}

void shopping(QPainter& p) {
    fillWith(p, Red, 1);
    p.drawRect(QRectF(11, 6, 5, 5));
    fillWith(p, Gold, 1);
    p.drawRect(QRectF(16.5, 4.5, 5, 6.5));
    fillWith(p, Sky);
    p.drawPolygon(
        QPolygonF({QPointF(6.5, 10), QPointF(28.5, 10), QPointF(25.5, 20), QPointF(9, 20)}));
    p.setPen(line(Blue.darker(110), 1));
    for (double x : {13.0, 18.0, 23.0})
        p.drawLine(QPointF(x, 10.5), QPointF(x - 0.5, 19.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 1.8));
    p.drawPolyline(
        QPolygonF({QPointF(2, 6), QPointF(6, 6), QPointF(10, 23.5), QPointF(25.5, 23.5)}));
    fillWith(p, Slate, 1);
    p.drawEllipse(QPointF(12, 27), 2.3, 2.3);
    p.drawEllipse(QPointF(23.5, 27), 2.3, 2.3);
}

void alarm(QPainter& p) {
    p.setPen(line(Slate, 1.8));
    p.drawLine(QPointF(9.5, 26), QPointF(7, 29.5));
    p.drawLine(QPointF(22.5, 26), QPointF(25, 29.5));
    fillWith(p, Gold);
    p.drawPie(QRectF(2, 2.5, 10, 10), 45 * 16, 180 * 16);
    p.drawPie(QRectF(20, 2.5, 10, 10), -45 * 16, 180 * 16);
    fillWith(p, Red);
    p.drawEllipse(QPointF(16, 17.5), 11, 11);
    fillWith(p, Paper, 1);
    p.drawEllipse(QPointF(16, 17.5), 8, 8);
    p.setPen(line(Slate, 1.6));
    p.drawLine(QPointF(16, 17.5), QPointF(16, 12));
    p.drawLine(QPointF(16, 17.5), QPointF(20, 19.5));
}

void pet(QPainter& p) {
    fillWith(p, Brown);
    QPainterPath pad(QPointF(16, 14));
    pad.cubicTo(21, 14, 25.5, 21, 23.5, 25);
    pad.cubicTo(22, 28, 18.5, 26.5, 16, 26.5);
    pad.cubicTo(13.5, 26.5, 10, 28, 8.5, 25);
    pad.cubicTo(6.5, 21, 11, 14, 16, 14);
    p.drawPath(pad);
    const QRectF toes[] = {QRectF(3, 9.5, 5.6, 7.5), QRectF(9, 3.5, 5.8, 8),
                           QRectF(17.2, 3.5, 5.8, 8), QRectF(24, 9.5, 5.6, 7.5)};
    for (const QRectF& toe : toes)
        p.drawEllipse(toe);
}

void garden(QPainter& p) {
    p.setPen(line(Green.darker(130), 1.6));
    p.drawLine(QPointF(16, 20), QPointF(16, 11));
    fillWith(p, Green, 1);
    for (int side : {-1, 1}) {
        p.save();
        p.translate(16, 17);
        p.rotate(side * 40);
        p.drawEllipse(QRectF(side < 0 ? -7 : 0, -2, 7, 4));
        p.restore();
    }
    fillWith(p, Pink, 1);
    for (int i = 0; i < 6; ++i) {
        p.save();
        p.translate(16, 8.5);
        p.rotate(i * 60);
        p.drawEllipse(QRectF(-2.3, -7, 4.6, 6));
        p.restore();
    }
    fillWith(p, Gold, 1);
    p.drawEllipse(QPointF(16, 8.5), 2.6, 2.6);
    fillWith(p, Orange);
    p.drawPolygon(
        QPolygonF({QPointF(10, 22.5), QPointF(22, 22.5), QPointF(20.5, 30), QPointF(11.5, 30)}));
    p.drawRoundedRect(QRectF(8.5, 19.5, 15, 4), 1, 1);
}

void home(QPainter& p) {
    fillWith(p, Red);
    p.drawRect(QRectF(20.5, 5, 4, 8));
    fillWith(p, QColor(0xfa, 0xe6, 0xc8));
    p.drawRect(QRectF(6.5, 14.5, 19, 14));
    fillWith(p, Red);
    p.drawPolygon(QPolygonF({QPointF(2.5, 16.5), QPointF(16, 4), QPointF(29.5, 16.5)}));
    fillWith(p, Brown, 1);
    p.drawRect(QRectF(14, 20.5, 5, 8));
    fillWith(p, Sky, 1);
    p.drawRect(QRectF(8.5, 18, 4, 4));
    p.drawRect(QRectF(21, 18, 3, 4));
}

void coffee(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(line(QColor(150, 150, 160, 200), 1.3));
    for (double x : {11.5, 15.5, 19.5}) {
        QPainterPath steam(QPointF(x, 9));
        steam.cubicTo(x - 2, 7, x + 2, 5, x, 2.5);
        p.drawPath(steam);
    }
    fillWith(p, Paper);
    p.setPen(line(Slate, 1.2));
    p.drawEllipse(QRectF(3, 25, 24, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 2.2));
    p.drawEllipse(QRectF(20.5, 14, 7.5, 7.5));
    QPainterPath cup(QPointF(6.5, 11.5));
    cup.lineTo(23.5, 11.5);
    cup.lineTo(22.5, 23.5);
    cup.quadTo(22, 27, 18.5, 27);
    cup.lineTo(11.5, 27);
    cup.quadTo(8, 27, 7.5, 23.5);
    cup.closeSubpath();
    p.setPen(line(Slate, 1.2));
    p.setBrush(Paper);
    p.drawPath(cup);
    fillWith(p, Brown, 0.8);
    p.drawEllipse(QRectF(7.5, 10.5, 15, 3));
}

void book(QPainter& p) {
    fillWith(p, Blue);
    QPainterPath cover(QPointF(16, 28));
    cover.cubicTo(12, 25.5, 6, 25.5, 1.5, 27);
    cover.lineTo(1.5, 9);
    cover.lineTo(30.5, 9);
    cover.lineTo(30.5, 27);
    cover.cubicTo(26, 25.5, 20, 25.5, 16, 28);
    p.drawPath(cover);
    fillWith(p, Paper, 1);
    for (int side : {-1, 1}) {
        QPainterPath page(QPointF(16, 8.5));
        page.cubicTo(16 + side * 4, 6, 16 + side * 10, 6, 16 + side * 13, 7.5);
        page.lineTo(16 + side * 13, 24.5);
        page.cubicTo(16 + side * 10, 23, 16 + side * 4, 23, 16, 25.5);
        page.closeSubpath();
        p.setPen(line(Steel.darker(130), 1));
        p.drawPath(page);
        p.setPen(line(Steel, 1));
        for (double y : {12.0, 15.5, 19.0})
            p.drawLine(QPointF(16 + side * 4, y), QPointF(16 + side * 10.5, y));
    }
}

void medicine(QPainter& p) {
    fillWith(p, Paper);
    p.setPen(line(Slate, 1.1));
    p.drawEllipse(QPointF(24, 24), 5.5, 5.5);
    p.drawLine(QPointF(20.5, 27.5), QPointF(27.5, 20.5));
    p.save();
    p.translate(13.5, 13.5);
    p.rotate(-45);
    QPainterPath capsule;
    capsule.addRoundedRect(QRectF(-11, -5, 22, 10), 5, 5);
    p.setPen(Qt::NoPen);
    p.setClipRect(QRectF(-12, -6, 12, 12));
    p.setBrush(Red);
    p.drawPath(capsule);
    p.setClipRect(QRectF(0, -6, 12, 12));
    p.setBrush(Paper);
    p.drawPath(capsule);
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 1.2));
    p.drawPath(capsule);
    p.drawLine(QPointF(0, -5), QPointF(0, 5));
    p.setPen(line(QColor(255, 255, 255, 170), 1.4));
    p.drawLine(QPointF(-8, -2.5), QPointF(-3, -2.5));
    p.restore();
}

void baby(QPainter& p) {
    fillWith(p, QColor(0xf0, 0xc8, 0x8c));
    p.drawEllipse(QRectF(13, 2.5, 6, 8));
    fillWith(p, QColor(0xfa, 0xfc, 0xff));
    p.setPen(line(Blue.darker(120), 1.2));
    p.drawRoundedRect(QRectF(10.5, 11, 11, 18.5), 3.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf6, 0xe0));
    p.drawRoundedRect(QRectF(11.2, 18, 9.6, 10.8), 3, 3);
    fillWith(p, Pink);
    p.drawRoundedRect(QRectF(9.5, 8.5, 13, 4), 1.5, 1.5);
    p.setPen(line(Blue.lighter(120), 1));
    for (double y : {16.0, 20.0, 24.0})
        p.drawLine(QPointF(18, y), QPointF(21, y));
}

void gym(QPainter& p) {
    p.translate(16, 16);
    p.rotate(-30);
    fillWith(p, Steel);
    p.drawRoundedRect(QRectF(-8, -1.6, 16, 3.2), 1, 1);
    fillWith(p, Slate);
    for (int side : {-1, 1}) {
        p.drawRoundedRect(QRectF(side < 0 ? -14 : 9, -7.5, 5, 15), 1.5, 1.5);
        p.drawRoundedRect(QRectF(side < 0 ? -9.5 : 7, -5, 2.5, 10), 1, 1);
    }
}

void important(QPainter& p) {
    fillWith(p, Gold);
    p.setPen(line(Gold.darker(150), 1.6));
    p.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(30, 28), QPointF(2, 28)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRoundedRect(QRectF(14.4, 10, 3.2, 10.5), 1.5, 1.5);
    p.drawEllipse(QPointF(16, 24), 1.9, 1.9);
}

void photo(QPainter& p) {
    fillWith(p, Slate);
    p.drawRoundedRect(QRectF(10.5, 6, 11, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(2.5, 9.5, 27, 18), 3, 3);
    fillWith(p, Steel, 1);
    p.drawEllipse(QPointF(16, 18.5), 6.8, 6.8);
    fillWith(p, Blue, 1);
    p.drawEllipse(QPointF(16, 18.5), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 180));
    p.drawEllipse(QPointF(14.6, 17), 1.4, 1.4);
    p.setBrush(Gold);
    p.drawRect(QRectF(23, 12, 4, 2.5));
}

void hotel(QPainter& p) {
    fillWith(p, Brown);
    p.drawRoundedRect(QRectF(2.5, 9, 4.5, 20), 1, 1);
    p.drawRect(QRectF(26, 22, 3, 7));
    fillWith(p, Paper);
    p.setPen(line(Steel.darker(130), 1.1));
    p.drawRect(QRectF(6.5, 19.5, 23, 4));
    p.drawRoundedRect(QRectF(7.5, 14.5, 7.5, 5), 2, 2);
    fillWith(p, Blue);
    p.drawRoundedRect(QRectF(14, 16, 16, 7.5), 1.5, 1.5);
    p.setPen(line(Plum, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(18, 4), QPointF(22, 4), QPointF(18, 9), QPointF(22, 9)}));
    p.drawPolyline(QPolygonF({QPointF(24, 2), QPointF(27, 2), QPointF(24, 5.5), QPointF(27, 5.5)}));
}

} // namespace

QList<PaintFn> thingPictures() {
    return {movie, dinner,   shopping, alarm, pet,       garden, home, coffee,
            book,  medicine, baby,     gym,   important, photo,  hotel};
}

QStringList thingNames() {
    return {"Movie", "Dinner",   "Shopping", "Alarm", "Pet",       "Garden", "Home", "Coffee",
            "Book",  "Medicine", "Baby",     "Gym",   "Important", "Photo",  "Hotel"};
}

} // namespace EventArt

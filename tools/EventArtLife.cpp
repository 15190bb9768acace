// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of occasions and people: birthday, anniversary, meeting, call, travel, doctor,
// bill, sport, party, holiday, dentist, car, school, work, mail, music.
#include "EventArt.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace EventArt {

using namespace Palette;

namespace {

void birthday(QPainter& p) {
    fillWith(p, Steel);
    p.drawEllipse(QRectF(2.5, 25, 27, 5));
    fillWith(p, Pink);
    p.drawRoundedRect(QRectF(5, 17, 22, 10), 2, 2);
    fillWith(p, QColor(0xff, 0xf0, 0xdc));
    p.drawRoundedRect(QRectF(9, 11.5, 14, 6.5), 2, 2);
    p.setPen(line(Paper, 1.6));
    QPainterPath icing(QPointF(6, 19.5));
    for (int i = 0; i < 5; ++i)
        icing.quadTo(QPointF(8 + i * 4, 23), QPointF(10 + i * 4, 19.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(icing);
    for (double x : {12.0, 16.0, 20.0}) {
        fillWith(p, Blue, 0.8);
        p.drawRect(QRectF(x - 1, 6.5, 2, 5));
        fillWith(p, Gold, 0.8);
        p.drawEllipse(QRectF(x - 1.4, 2, 2.8, 4));
    }
}

void anniversary(QPainter& p) {
    const QColor gold = Gold.darker(115);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(gold, 3.2));
    p.drawEllipse(QPointF(12, 19), 7.5, 7.5);
    p.setPen(line(Steel.darker(110), 3.2));
    p.drawEllipse(QPointF(20, 19), 7.5, 7.5);
    // The gold ring passes over the silver one at their lower crossing.
    p.setPen(line(gold, 3.2));
    p.drawArc(QRectF(4.5, 11.5, 15, 15), -80 * 16, 40 * 16);
    fillWith(p, QColor(0xb8, 0xe4, 0xff), 1);
    p.drawPolygon(
        QPolygonF({QPointF(12, 4), QPointF(15.5, 7.5), QPointF(12, 11.5), QPointF(8.5, 7.5)}));
}

void meeting(QPainter& p) {
    fillWith(p, Green);
    p.drawPie(QRectF(13, 14, 16, 22), 0, 180 * 16);
    fillWith(p, Skin);
    p.drawEllipse(QPointF(21, 9.5), 4.2, 4.2);
    fillWith(p, Blue);
    p.drawPie(QRectF(3, 17, 17, 22), 0, 180 * 16);
    fillWith(p, Skin);
    p.drawEllipse(QPointF(11.5, 12.5), 4.6, 4.6);
    fillWith(p, Brown);
    p.drawRoundedRect(QRectF(1.5, 24.5, 29, 5), 1.5, 1.5);
}

void call(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Blue, 1.8));
    p.drawArc(QRectF(8, 3, 21, 21), 10 * 16, 70 * 16);
    p.drawArc(QRectF(13, 8, 11, 11), 10 * 16, 70 * 16);
    p.save();
    p.translate(14, 18);
    p.rotate(45);
    fillWith(p, Green);
    QPainterPath handset;
    handset.addRoundedRect(QRectF(-12, -3, 24, 5.5), 2.5, 2.5);
    handset.addRoundedRect(QRectF(-13, -3, 7.5, 10), 3, 3);
    handset.addRoundedRect(QRectF(5.5, -3, 7.5, 10), 3, 3);
    p.drawPath(handset.simplified());
    p.restore();
}

void travel(QPainter& p) {
    p.translate(16, 16);
    p.rotate(45);
    QPainterPath plane;
    plane.addRoundedRect(QRectF(-2.4, -14, 4.8, 27), 2.4, 2.4);
    plane.addPolygon(
        QPolygonF({QPointF(-2, -3), QPointF(-13.5, 3.5), QPointF(-13.5, 6.5), QPointF(-2, 3),
                   QPointF(2, 3), QPointF(13.5, 6.5), QPointF(13.5, 3.5), QPointF(2, -3)}));
    plane.addPolygon(
        QPolygonF({QPointF(-1.5, 8), QPointF(-6.5, 12), QPointF(-6.5, 14), QPointF(0, 12),
                   QPointF(6.5, 14), QPointF(6.5, 12), QPointF(1.5, 8)}));
    p.setPen(line(Blue.darker(130), 1.2));
    p.setBrush(QColor(0xe8, 0xf0, 0xfa));
    p.drawPath(plane.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawEllipse(QRectF(-1.3, -11, 2.6, 4));
}

void doctor(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 2.2));
    p.drawRoundedRect(QRectF(11, 4, 10, 7), 2, 2);
    fillWith(p, Paper);
    p.setPen(line(Slate, 1.2));
    p.drawRoundedRect(QRectF(3.5, 8.5, 25, 19), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawRect(QRectF(13.5, 11.5, 5, 13));
    p.drawRect(QRectF(9.5, 15.5, 13, 5));
}

void bill(QPainter& p) {
    QPainterPath paper(QPointF(5, 3));
    paper.lineTo(19, 3);
    paper.lineTo(24, 8);
    paper.lineTo(24, 28);
    paper.lineTo(5, 28);
    paper.closeSubpath();
    fillWith(p, Paper);
    p.setPen(line(Slate, 1.2));
    p.drawPath(paper);
    p.setPen(line(Steel, 1.5));
    for (double y : {9.0, 13.0, 17.0})
        p.drawLine(QPointF(8, y), QPointF(y < 10 ? 16 : 20, y));
    fillWith(p, Green);
    p.drawEllipse(QPointF(21.5, 22.5), 7, 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Paper, 1.6));
    QPainterPath s(QPointF(24, 19.5));
    s.cubicTo(23, 18, 19, 18, 19, 20.5);
    s.cubicTo(19, 22.5, 24, 22, 24, 24.5);
    s.cubicTo(24, 27.3, 19.5, 27.3, 18.8, 25.6);
    p.drawPath(s);
    p.drawLine(QPointF(21.5, 16.8), QPointF(21.5, 28.2));
}

void sport(QPainter& p) {
    QPainterPath ball;
    ball.addEllipse(QPointF(16, 16), 13, 13);
    fillWith(p, Paper);
    p.setPen(line(Slate, 1.2));
    p.drawPath(ball);
    p.setClipPath(ball);
    const auto pentagon = [](QPointF c, double r, double turn) {
        QPolygonF poly;
        for (int i = 0; i < 5; ++i) {
            const double a = turn + i * 2 * std::numbers::pi / 5;
            poly << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        return poly;
    };
    const double up = -std::numbers::pi / 2;
    p.setPen(line(Slate, 1.1));
    for (int i = 0; i < 5; ++i) {
        const double a = up + i * 2 * std::numbers::pi / 5;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(QPointF(16, 16) + 4.5 * dir, QPointF(16, 16) + 10 * dir);
        p.setBrush(Slate);
        p.drawPolygon(pentagon(QPointF(16, 16) + 13.5 * dir, 4.5, a + std::numbers::pi));
    }
    p.setBrush(Slate);
    p.drawPolygon(pentagon(QPointF(16, 16), 4.5, up));
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 1.2));
    p.drawPath(ball);
}

void party(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Slate, 0.9));
    QPainterPath strings;
    for (QPointF from : {QPointF(9, 17), QPointF(22, 15), QPointF(16, 20)}) {
        strings.moveTo(from);
        strings.cubicTo(from + QPointF(2, 4), QPointF(15, 24), QPointF(16, 30));
    }
    p.drawPath(strings);
    const struct {
        QRectF box;
        QColor colour;
    } balloons[] = {{QRectF(3, 4, 12, 14), Red},
                    {QRectF(16.5, 2, 12, 14), Blue},
                    {QRectF(10, 8, 12, 13.5), Gold}};
    for (const auto& b : balloons) {
        fillWith(p, b.colour);
        p.drawEllipse(b.box);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 150));
        p.drawEllipse(QRectF(b.box.x() + 3, b.box.y() + 2.5, 3, 4));
    }
}

void holiday(QPainter& p) {
    fillWith(p, Gold, 1);
    p.drawEllipse(QPointF(24, 8), 5, 5);
    fillWith(p, Blue, 1);
    QPainterPath sea(QPointF(1, 23));
    for (int i = 0; i < 5; ++i)
        sea.quadTo(QPointF(4 + i * 6, 20.5), QPointF(7 + i * 6, 23));
    sea.lineTo(31, 30);
    sea.lineTo(1, 30);
    sea.closeSubpath();
    p.drawPath(sea);
    fillWith(p, QColor(0xf3, 0xd9, 0x8e), 1);
    p.drawChord(QRectF(3, 21, 20, 12), 0, 180 * 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Brown, 2.4));
    QPainterPath trunk(QPointF(12, 25));
    trunk.quadTo(QPointF(11, 16), QPointF(14.5, 9.5));
    p.drawPath(trunk);
    fillWith(p, Green, 1);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(14.5, 9.5);
        p.rotate(-160 + i * 55);
        QPainterPath leaf(QPointF(0, 0));
        leaf.quadTo(QPointF(5, -3.5), QPointF(10, 0.5));
        leaf.quadTo(QPointF(5, 0.5), QPointF(0, 0));
        p.drawPath(leaf);
        p.restore();
    }
}

void dentist(QPainter& p) {
    QPainterPath tooth(QPointF(16, 8.5));
    tooth.cubicTo(13, 4.5, 5.5, 4.5, 5.5, 11);
    tooth.cubicTo(5.5, 16, 8.5, 18, 9.2, 23);
    tooth.cubicTo(9.8, 29, 12.8, 29.5, 13.6, 25);
    tooth.cubicTo(14.1, 22, 15, 20.5, 16, 20.5);
    tooth.cubicTo(17, 20.5, 17.9, 22, 18.4, 25);
    tooth.cubicTo(19.2, 29.5, 22.2, 29, 22.8, 23);
    tooth.cubicTo(23.5, 18, 26.5, 16, 26.5, 11);
    tooth.cubicTo(26.5, 4.5, 19, 4.5, 16, 8.5);
    p.setPen(line(QColor(0x5a, 0x78, 0xaa), 1.3));
    p.setBrush(Paper);
    p.drawPath(tooth);
    p.setPen(line(Sky.darker(110), 1.4));
    p.drawArc(QRectF(8.5, 8, 8, 7), 100 * 16, 70 * 16);
}

void car(QPainter& p) {
    fillWith(p, Red);
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 14.5, 27, 9), 3, 3);
    body.addPolygon(
        QPolygonF({QPointF(8, 15), QPointF(11.5, 8.5), QPointF(21, 8.5), QPointF(25.5, 15)}));
    p.drawPath(body.simplified());
    fillWith(p, Sky, 0.8);
    p.drawPolygon(QPolygonF(
        {QPointF(10.5, 14.5), QPointF(12.6, 10.3), QPointF(15.6, 10.3), QPointF(15.6, 14.5)}));
    p.drawPolygon(QPolygonF(
        {QPointF(17.2, 14.5), QPointF(17.2, 10.3), QPointF(20.3, 10.3), QPointF(23.2, 14.5)}));
    fillWith(p, Gold, 0.8);
    p.drawRect(QRectF(26.5, 16.5, 2.5, 2));
    for (double x : {9.0, 23.0}) {
        fillWith(p, Slate);
        p.drawEllipse(QPointF(x, 23.5), 3.6, 3.6);
        fillWith(p, Steel, 0.8);
        p.drawEllipse(QPointF(x, 23.5), 1.4, 1.4);
    }
}

void school(QPainter& p) {
    fillWith(p, Slate);
    QPainterPath cap(QPointF(9, 14));
    cap.lineTo(9, 21);
    cap.quadTo(16, 25, 23, 21);
    cap.lineTo(23, 14);
    cap.closeSubpath();
    p.drawPath(cap);
    fillWith(p, QColor(0x40, 0x44, 0x58));
    p.drawPolygon(
        QPolygonF({QPointF(16, 5), QPointF(30, 11.5), QPointF(16, 18), QPointF(2, 11.5)}));
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Gold, 1.4));
    p.drawPolyline(QPolygonF({QPointF(16, 11.5), QPointF(26, 14), QPointF(26, 21)}));
    fillWith(p, Gold, 0.8);
    p.drawRoundedRect(QRectF(24.6, 20.5, 2.8, 5), 1, 1);
}

void work(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Brown.darker(150), 2.2));
    p.drawRoundedRect(QRectF(11, 5, 10, 7), 2, 2);
    fillWith(p, Brown);
    p.drawRoundedRect(QRectF(2.5, 10, 27, 17.5), 3, 3);
    p.setPen(line(Brown.darker(150), 1.2));
    p.drawLine(QPointF(3, 17.5), QPointF(29, 17.5));
    fillWith(p, Gold, 1);
    p.drawRect(QRectF(14, 15.5, 4, 4));
}

void mail(QPainter& p) {
    fillWith(p, Paper);
    p.setPen(line(Blue.darker(120), 1.3));
    p.drawRoundedRect(QRectF(2.5, 7.5, 27, 18), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(3.5, 8.5), QPointF(16, 18.5), QPointF(28.5, 8.5)}));
    p.setPen(line(Blue.lighter(130), 1.1));
    p.drawLine(QPointF(3.5, 24.5), QPointF(12.5, 16));
    p.drawLine(QPointF(28.5, 24.5), QPointF(19.5, 16));
}

void music(QPainter& p) {
    fillWith(p, Plum);
    p.drawPolygon(
        QPolygonF({QPointF(11.5, 8), QPointF(25.5, 4.5), QPointF(25.5, 9), QPointF(11.5, 12.5)}));
    p.drawRect(QRectF(11, 8, 2.2, 16));
    p.drawRect(QRectF(24.2, 5, 2.2, 16));
    for (QPointF head : {QPointF(8.8, 24.5), QPointF(22, 21.5)}) {
        p.save();
        p.translate(head);
        p.rotate(-25);
        p.drawEllipse(QRectF(-4.5, -3.2, 9, 6.4));
        p.restore();
    }
}

} // namespace

QList<PaintFn> lifePictures() {
    return {birthday, anniversary, meeting, call, travel, doctor, bill, sport,
            party,    holiday,     dentist, car,  school, work,   mail, music};
}

QStringList lifeNames() {
    return {"Birthday", "Anniversary", "Meeting", "Call", "Travel", "Doctor", "Bill", "Sport",
            "Party",    "Holiday",     "Dentist", "Car",  "School", "Work",   "Mail", "Music"};
}

} // namespace EventArt

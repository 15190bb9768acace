// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ui/Artwork.h"

#include "core/ShellTables.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Artwork {

namespace {

const QColor Ink(0x33, 0x33, 0x3a);
const QColor Plum(0x6a, 0x2c, 0x70);
const QColor Leaf(0x3f, 0xa3, 0x4d);
const QColor Sky(0x2f, 0x7d, 0xd1);
const QColor Alert(0xd2, 0x3b, 0x2f);
const QColor Gold(0xf2, 0xb7, 0x2c);

QPen pen(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void calendar(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 6, 24, 22), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Alert);
    p.drawRoundedRect(QRectF(4.75, 6.75, 22.5, 6), 2, 2);
    p.setBrush(Ink);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(7.5 + col * 4.5, 15 + row * 4, 3, 2.5));
    }
    p.setPen(pen(Ink, 2));
    p.drawLine(QPointF(10, 3.5), QPointF(10, 8.5));
    p.drawLine(QPointF(22, 3.5), QPointF(22, 8.5));
}

void quickNotes(QPainter& p) {
    QPainterPath note;
    note.moveTo(5, 5);
    note.lineTo(27, 5);
    note.lineTo(27, 20);
    note.lineTo(20, 27);
    note.lineTo(5, 27);
    note.closeSubpath();
    p.setPen(pen(QColor(0xb0, 0x8a, 0x10), 1.5));
    p.setBrush(QColor(0xff, 0xe0, 0x6a));
    p.drawPath(note);
    p.setBrush(QColor(0xe8, 0xc2, 0x3a));
    QPainterPath fold;
    fold.moveTo(27, 20);
    fold.lineTo(20, 20);
    fold.lineTo(20, 27);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(pen(Ink, 1.5));
    p.drawLine(QPointF(9, 11), QPointF(23, 11));
    p.drawLine(QPointF(9, 15.5), QPointF(23, 15.5));
    p.drawLine(QPointF(9, 20), QPointF(16, 20));
}

void powerScheduler(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 17), 12, 12);
    p.setPen(pen(Sky, 2.5));
    p.drawLine(QPointF(16, 17), QPointF(16, 9));
    p.drawLine(QPointF(16, 17), QPointF(21.5, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(Alert);
    p.drawEllipse(QPointF(16, 17), 2, 2);
    p.setPen(pen(Ink, 2));
    p.drawLine(QPointF(7, 5), QPointF(10, 3));
    p.drawLine(QPointF(25, 5), QPointF(22, 3));
}

void quickAccess(QPainter& p) {
    QPainterPath folder;
    folder.moveTo(3, 9);
    folder.lineTo(3, 26);
    folder.lineTo(29, 26);
    folder.lineTo(29, 11);
    folder.lineTo(15, 11);
    folder.lineTo(12, 7);
    folder.lineTo(4, 7);
    folder.closeSubpath();
    p.setPen(pen(QColor(0xa8, 0x74, 0x10), 1.5));
    p.setBrush(QColor(0xf6, 0xc3, 0x4a));
    p.drawPath(folder);
    // A star: the folders used most.
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 == 0 ? 6.5 : 2.8;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(16 + r * qCos(a), 18.5 + r * qSin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(pen(QColor(0x9a, 0x1c, 0x1c), 1));
    p.setBrush(Alert);
    p.drawPath(star);
}

void screenCapture(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0x55, 0x5a, 0x66));
    p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
    p.drawRoundedRect(QRectF(11, 5, 10, 5), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 18), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Sky);
    p.drawEllipse(QPointF(16, 18), 4, 4);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(24.5, 12.5), 1.5, 1.5);
}

void wallpaper(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0xbf, 0xe0, 0xff));
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(22, 11), 3, 3);
    QPainterPath hills;
    hills.moveTo(3.75, 26.25);
    hills.lineTo(3.75, 21);
    hills.lineTo(11, 13);
    hills.lineTo(17, 20);
    hills.lineTo(21, 16);
    hills.lineTo(28.25, 23);
    hills.lineTo(28.25, 26.25);
    hills.closeSubpath();
    p.setBrush(Leaf);
    p.drawPath(hills);
}

void options(QPainter& p) {
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = qDegreesToRadians(i * 360.0 / (teeth * 4));
        const qreal r = (i % 4 < 2) ? 13 : 9.5;
        const QPointF pt(16 + r * qCos(a), 16 + r * qSin(a));
        i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 4, 4);
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0x8a, 0x93, 0xa3));
    p.drawPath(gear.subtracted(hole));
}

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
    case Picture::Calendar:
        return calendar(p);
    case Picture::QuickNotes:
        return quickNotes(p);
    case Picture::PowerScheduler:
        return powerScheduler(p);
    case Picture::QuickAccess:
        return quickAccess(p);
    case Picture::ScreenCapture:
        return screenCapture(p);
    case Picture::Wallpaper:
        return wallpaper(p);
    case Picture::Options:
        return options(p);
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

Picture forMenuIndex(int index) {
    switch (index) {
    case TrayMenu::Calendar:
        return Picture::Calendar;
    case TrayMenu::QNotes:
        return Picture::QuickNotes;
    case TrayMenu::Schedule:
        return Picture::PowerScheduler;
    case TrayMenu::QAccess:
        return Picture::QuickAccess;
    case TrayMenu::SCapture:
        return Picture::ScreenCapture;
    case TrayMenu::SSWP:
        return Picture::Wallpaper;
    case TrayMenu::Options:
        return Picture::Options;
    case TrayMenu::ShowReminder:
        return Picture::Reminder;
    case TrayMenu::Unload:
        return Picture::Unload;
    case TrayMenu::Help:
        return Picture::Help;
    case TrayMenu::About:
        return Picture::About;
    default:
        return Picture::Web;
    }
}

Picture forToolbarButton(int button) {
    using namespace MainToolbar;
    switch (button) {
    case CalendarButton:
        return Picture::Calendar;
    case QNotesButton:
        return Picture::QuickNotes;
    case ScheduleButton:
        return Picture::PowerScheduler;
    case QAccessButton:
        return Picture::QuickAccess;
    case SCaptureButton:
        return Picture::ScreenCapture;
    case SSWPButton:
        return Picture::Wallpaper;
    case OptionsButton:
        return Picture::Options;
    case ReminderButton:
        return Picture::Reminder;
    default:
        return Picture::Help;
    }
}

} // namespace Artwork

// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/NoteArtwork.h"

#include "shell/ui/Artwork.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace NoteArtwork {

namespace {

const QColor Ink(0x33, 0x33, 0x3a);
const QColor Paper(0xff, 0xf2, 0x9a);
const QColor PaperEdge(0xb0, 0x8a, 0x10);

QPen pen(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void note(QPainter& p) {
    p.setPen(pen(PaperEdge, 1.5));
    p.setBrush(Paper);
    p.drawRect(QRectF(4, 4, 20, 24));
    p.setPen(pen(Ink, 1.3));
    for (qreal y : {11.0, 16.0, 21.0})
        p.drawLine(QPointF(8, y), QPointF(20, y));
}

void letter(QPainter& p, const QString& glyph, bool bold, bool italic, bool underline) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(24);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRectF(0, 0, 32, underline ? 27 : 31), Qt::AlignCenter, glyph);
    if (underline) {
        p.setPen(pen(Ink, 2));
        p.drawLine(QPointF(8, 28.5), QPointF(24, 28.5));
    }
}

void paint(NoteToolbar::Command command, QPainter& p) {
    using NoteToolbar::Command;
    switch (command) {
    case Command::New:
        note(p);
        p.setPen(pen(QColor(0x2e, 0x8b, 0x3c), 3.5));
        p.drawLine(QPointF(24, 17), QPointF(24, 29));
        p.drawLine(QPointF(18, 23), QPointF(30, 23));
        return;
    case Command::Delete:
        note(p);
        p.setPen(pen(QColor(0xd2, 0x3b, 0x2f), 3.5));
        p.drawLine(QPointF(19, 18), QPointF(29, 28));
        p.drawLine(QPointF(29, 18), QPointF(19, 28));
        return;
    case Command::Find:
        p.setPen(pen(Ink, 3));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        p.setPen(pen(Ink, 2));
        p.setBrush(QColor(0xd8, 0xec, 0xff));
        p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
        return;
    case Command::Spelling: {
        QFont f;
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Ink);
        p.drawText(QRectF(0, 2, 32, 14), Qt::AlignCenter, QStringLiteral("ABC"));
        p.setPen(pen(QColor(0x2e, 0x8b, 0x3c), 3));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(8, 22);
        tick.lineTo(14, 28);
        tick.lineTo(26, 16);
        p.drawPath(tick);
        return;
    }
    case Command::Schedule: // drawn by Artwork
        return;
    case Command::Color:
        letter(p, QStringLiteral("A"), true, false, false);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd2, 0x3b, 0x2f));
        p.drawRect(QRectF(5, 26, 22, 5));
        return;
    case Command::Bold:
        return letter(p, QStringLiteral("B"), true, false, false);
    case Command::Italic:
        return letter(p, QStringLiteral("I"), false, true, false);
    case Command::Underline:
        return letter(p, QStringLiteral("U"), false, false, true);
    }
}

} // namespace

QIcon command(NoteToolbar::Command command) {
    // The toolbar's 16 pixels, for 1x and 2x screens; an alarm rings the bell of the
    // reminders.
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(
            command == NoteToolbar::Command::Schedule
                ? Artwork::pixmap(Artwork::Picture::Reminder, 16, ratio)
                : Artwork::pixmap([command](QPainter& p) { paint(command, p); }, 16, ratio));
    }
    return icon;
}

QPixmap arrow(bool up, QSize size, qreal devicePixelRatio) {
    static QHash<QString, QPixmap> drawn;
    const QString key = QStringLiteral("%1 %2 %3 %4")
                            .arg(up)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (const auto it = drawn.constFind(key); it != drawn.cend())
        return *it;
    QPixmap pm(size * devicePixelRatio);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x80, 0x80, 0x00));
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal tip = up ? h * 0.2 : h * 0.8;
    const qreal base = up ? h * 0.7 : h * 0.3;
    const QPointF points[3] = {{w / 2, tip}, {w * 0.05, base}, {w * 0.95, base}};
    p.drawPolygon(points, 3);
    p.end();
    drawn.insert(key, pm);
    return pm;
}

QPixmap mark(int size, qreal devicePixelRatio) {
    static QHash<QString, QPixmap> drawn;
    const QString key = QStringLiteral("%1 %2").arg(size).arg(devicePixelRatio);
    if (const auto it = drawn.constFind(key); it != drawn.cend())
        return *it;
    return *drawn.insert(key, Artwork::pixmap(Artwork::Picture::Reminder, size, devicePixelRatio));
}

} // namespace NoteArtwork

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QStringList>

// The pictures of the default icon library, drawn in code on a 32 x 32 grid with one
// palette and one outline style, so they read as one set beside the holiday pictures.
namespace EventArt {

using PaintFn = void (*)(QPainter&);

// The set in library order, after the default event icon: birthday, anniversary, ...
QList<PaintFn> lifePictures();
QList<PaintFn> thingPictures();
// Their names, in the same order, as the icon picker shows them.
QStringList lifeNames();
QStringList thingNames();

// One picture: 32 x 32, transparent around the drawing.
QImage render(PaintFn paint);

// The palette and the outline every picture uses.
namespace Palette {
inline const QColor Ink(0x33, 0x33, 0x3a);
inline const QColor Red(0xd2, 0x3b, 0x2f);
inline const QColor Blue(0x2f, 0x7d, 0xd1);
inline const QColor Sky(0xa8, 0xd4, 0xf5);
inline const QColor Green(0x3f, 0xa3, 0x4d);
inline const QColor Gold(0xf2, 0xb7, 0x2c);
inline const QColor Plum(0x6a, 0x2c, 0x70);
inline const QColor Orange(0xe8, 0x7d, 0x2a);
inline const QColor Brown(0x9a, 0x62, 0x3a);
inline const QColor Pink(0xf0, 0x8c, 0xb4);
inline const QColor Skin(0xf5, 0xc8, 0xa0);
inline const QColor Paper(0xfc, 0xfc, 0xf8);
inline const QColor Steel(0xb4, 0xba, 0xc8);
inline const QColor Slate(0x4a, 0x4e, 0x5e);
} // namespace Palette

// Fills with `fill` and outlines with a darker shade of it.
void fillWith(QPainter& p, const QColor& fill, qreal width = 1.2);
// A round-capped line pen.
QPen line(const QColor& colour, qreal width);

} // namespace EventArt

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QPen>
#include <QPixmap>

#include <functional>

class QPainter;

// The pictures of the toolbar and of the tray menu, drawn by our own code on a 32-unit
// grid, so every size (16 px in the menu, 24 px on the toolbar, twice that on a 2x
// screen) is painted afresh rather than scaled. Each tool paints its own (its descriptor's
// painter) with the colours and pen here; these are the shell's own entries.
namespace Artwork {

inline const QColor Ink{0x33, 0x33, 0x3a};
inline const QColor Plum{0x6a, 0x2c, 0x70};
inline const QColor Leaf{0x3f, 0xa3, 0x4d};
inline const QColor Sky{0x2f, 0x7d, 0xd1};
inline const QColor Alert{0xd2, 0x3b, 0x2f};
inline const QColor Gold{0xf2, 0xb7, 0x2c};
// A pen with round caps and joins.
QPen pen(const QColor& colour, qreal width);

enum class Picture {
    Reminder,
    Help,
    Unload,
    About,
    Web,
};

// The picture at `size` logical pixels for a screen of `devicePixelRatio`.
QPixmap pixmap(Picture picture, int size, qreal devicePixelRatio = 1.0);
// Every common size at 1x and 2x, for QAction and QToolButton.
QIcon icon(Picture picture);

// A tool's own picture, painted on the same 32-unit grid.
using Painter = std::function<void(QPainter&)>;
QPixmap pixmap(const Painter& paint, int size, qreal devicePixelRatio = 1.0);
QIcon icon(const Painter& paint);

} // namespace Artwork

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

#include <functional>

class QPainter;

// The pictures of the toolbar and of the tray menu, drawn by our own code on a 32-unit
// grid, so every size (16 px in the menu, 24 px on the toolbar, twice that on a 2x
// screen) is painted afresh rather than scaled.
namespace Artwork {

enum class Picture {
    Calendar,
    QuickNotes,
    PowerScheduler,
    QuickAccess,
    ScreenCapture,
    Wallpaper,
    Options,
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

// The picture of a tray-menu index (0..11) and of a main-toolbar button.
Picture forMenuIndex(int index);
Picture forToolbarButton(int button);

} // namespace Artwork

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Twips.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class WindowSystem;

// Where the notice windows (reminder, pop-up message, mail notice) stand: in the corner of
// the work area nearest the tray icon, on the monitor that holds it.
namespace NoticePlacement {

// The height of the mail notice, by which the reminder moves away from the corner to stand
// beside it.
inline constexpr int LiftTwips = 1620;
inline constexpr int LiftPixels = LiftTwips / Twips::PerPixel;

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

// The corner of `workArea` nearest the tray. `tray` is where the icon stands (its geometry,
// or the point a tray host last named, as a 1 x 1 rectangle); when unknown, the edge the
// panels reserve (`screen` less `workArea`) tells: a top panel gives a top corner, a left
// one a left corner. Without either, the bottom right corner.
Corner corner(const QRect& screen, const QRect& workArea, const QRect& tray);

// Top-left corner, in pixels, of a frameless window of `size` in `corner` of `workArea`;
// `lifted` moves it away from the corner's edge by the mail notice's height.
QPoint place(QSize size, const QRect& workArea, Corner corner, bool lifted);

// The same for the tray the window system knows of.
QPoint place(QSize size, const WindowSystem& windows, bool lifted);

} // namespace NoticePlacement

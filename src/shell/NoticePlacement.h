// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Twips.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the notice windows (reminder, pop-up message) stand: bottom edge on the bottom of
// the work area (above a bottom panel), right edge on the screen's right edge.
namespace NoticePlacement {

// The height of the mail notice, by which the reminder moves up to stand above it.
inline constexpr int LiftTwips = 1620;
inline constexpr int LiftPixels = LiftTwips / Twips::PerPixel;

// Top-left corner, in pixels, of a frameless window of `size` pixels.
QPoint place(QSize size, const QRect& screen, int workAreaBottom, bool lifted);

} // namespace NoticePlacement

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the tray menu opens: centred on the cursor, kept a 1/36 margin away from the
// screen's right edge, never off the left edge. With the cursor in the lower half of its
// screen the menu stands on the panel below the work area (or on the cursor, when the
// cursor is lower still); in the upper half it hangs below the cursor (or below a top
// panel), kept on the screen. The horizontal arithmetic runs in twips, as the stored
// geometry does, so the result keeps its rounding to the pixel.
namespace MenuPlacement {

// Top-left corner of the menu, in pixels. `screen` is the screen under the cursor and
// `workArea` that screen without its panels.
QPoint place(QPoint cursor, QSize menu, const QRect& screen, const QRect& workArea);

} // namespace MenuPlacement

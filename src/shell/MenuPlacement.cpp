// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MenuPlacement.h"

#include "shell/Twips.h"

#include <algorithm>

namespace MenuPlacement {

QPoint place(QPoint cursor, QSize menu, const QRect& screen, const QRect& workArea) {
    constexpr int f = Twips::PerPixel;
    // Horizontal: twips relative to the screen's own left edge (screens right of the first
    // one start at a positive x).
    const int menuWidth = menu.width() * f;
    int left = (cursor.x() - screen.x()) * f - menuWidth / 2;
    if (left < 0)
        left = 0;
    const int screenWidth = screen.width() * f;
    const int margin = screenWidth / 36;
    if (left + menuWidth > screenWidth - margin)
        left = screenWidth - menuWidth - margin;
    // A menu wider than the screen still starts on it.
    left = std::max(left, 0);
    const int x = screen.x() + left / f;

    // Vertical, with the cursor in the lower half of its screen: the bottom edge sits on a
    // bottom panel, or at the cursor when it is lower.
    const int screenBottom = screen.y() + screen.height();
    int y = 0;
    if (cursor.y() - screen.y() >= screen.height() / 2) {
        const int workBottom = workArea.y() + workArea.height();
        y = std::max(workBottom, cursor.y()) - (menu.height() * f) / f;
    } else {
        // In the upper half (a panel at the top, or an icon the desktop keeps up there):
        // the menu hangs below the cursor, or below the panel when the cursor is on it.
        y = std::max(cursor.y(), workArea.y());
        y = std::min(y, screenBottom - menu.height());
    }
    y = std::max(y, screen.y());
    return {x, y};
}

} // namespace MenuPlacement

#include "core/MenuPlacement.h"

#include "core/Twips.h"

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

    // Vertical: the bottom edge sits on a bottom panel, or at the cursor when it is lower.
    const int workBottom = workArea.y() + workArea.height();
    int y = std::max(workBottom, cursor.y()) - (menu.height() * f) / f;
    // A panel at the top of the screen: the cursor is above the work area, so the menu
    // hangs from the panel's lower edge instead of opening at the far end of the screen.
    if (cursor.y() < workArea.y())
        y = workArea.y();
    return {x, y};
}

} // namespace MenuPlacement

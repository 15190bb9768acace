// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/NoticePlacement.h"

#include "platform/WindowSystem.h"

namespace NoticePlacement {

Corner corner(const QRect& screen, const QRect& workArea, const QRect& tray) {
    bool top = false;
    bool left = false;
    if (tray.isValid()) {
        // The nearest corner is the one on the icon's side of the area's middle.
        const QPoint at = tray.center();
        const QPoint middle = workArea.center();
        top = at.y() < middle.y();
        left = at.x() < middle.x();
    } else {
        const int reservedTop = workArea.top() - screen.top();
        const int reservedBottom = screen.bottom() - workArea.bottom();
        const int reservedLeft = workArea.left() - screen.left();
        const int reservedRight = screen.right() - workArea.right();
        top = reservedTop > reservedBottom;
        left = reservedLeft > reservedRight;
    }
    if (top)
        return left ? Corner::TopLeft : Corner::TopRight;
    return left ? Corner::BottomLeft : Corner::BottomRight;
}

QPoint place(QSize size, const QRect& workArea, Corner corner, bool lifted) {
    const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
    const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
    const int lift = lifted ? LiftPixels : 0;
    // The area need not start at 0 on a desktop of several displays.
    const int x = left ? workArea.x() : workArea.x() + workArea.width() - size.width();
    const int y =
        top ? workArea.y() + lift : workArea.y() + workArea.height() - size.height() - lift;
    return {x, y};
}

QPoint place(QSize size, const WindowSystem& windows, bool lifted) {
    const QRect screen = windows.noticeScreen();
    const QRect area = windows.workAreaOf(screen);
    const QRect tray = windows.trayIcon();
    // An icon on another monitor than the one chosen says nothing of this one's corners.
    const QRect near = screen.intersects(tray) ? tray : QRect();
    return place(size, area, corner(screen, area, near), lifted);
}

} // namespace NoticePlacement

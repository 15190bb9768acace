// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/NoticePlacement.h"

namespace NoticePlacement {

QPoint place(QSize size, const QRect& screen, int workAreaBottom, bool lifted) {
    // The screen may not start at 0 on a desktop of several displays.
    const int left = screen.x() + screen.width() - size.width();
    int top = workAreaBottom - size.height();
    if (lifted)
        top -= LiftPixels;
    return {left, top};
}

} // namespace NoticePlacement

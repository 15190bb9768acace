// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

#include <optional>

// How far an arrow key moves something that moves by `step` a press; nothing for any other
// key.
inline std::optional<QPoint> arrowKeyStep(int key, int step) {
    switch (key) {
    case Qt::Key_Left:
        return QPoint(-step, 0);
    case Qt::Key_Right:
        return QPoint(step, 0);
    case Qt::Key_Up:
        return QPoint(0, -step);
    case Qt::Key_Down:
        return QPoint(0, step);
    default:
        return std::nullopt;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// Keeps a window on the screens that exist: given each screen's available area (without
// its panels), where a window of a remembered or current place must stand so that it lies,
// frame included, wholly inside one of them. The window goes to the area it overlaps most,
// or to the nearest area when it overlaps none (a screen that is gone); it moves as little
// as it must and keeps its size when that fits, shrinking only when it does not.
class ScreenFit {
public:
    explicit ScreenFit(QList<QRect> areas);

    bool isEmpty() const { return m_areas.isEmpty(); }
    const QList<QRect>& areas() const { return m_areas; }

    // The area a window whose frame is `outer` belongs to: the one it overlaps most, else
    // the nearest; -1 when there is no area.
    int areaFor(const QRect& outer) const;
    // The frame `outer` lies wholly inside some area (true when there is none to go to).
    bool contains(const QRect& outer) const;

    // `client` is the window's client area, `frame` what the window manager adds around it.
    // The client area that puts the frame wholly inside its area: `client` itself when it
    // already is. A frame too large for the area keeps a client area of at least 1 x 1 at
    // the area's top left corner, so the title bar stays reachable.
    QRect place(const QRect& client, const QMargins& frame = {}) const;

private:
    QList<QRect> m_areas;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ScreenFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect common = a & b;
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Squared distance between two rectangles, 0 when they touch or overlap.
qint64 distance(const QRect& a, const QRect& b) {
    const auto gap = [](int startA, int endA, int startB, int endB) -> qint64 {
        if (endA < startB)
            return startB - endA;
        if (endB < startA)
            return startA - endB;
        return 0;
    };
    const qint64 dx = gap(a.left(), a.right(), b.left(), b.right());
    const qint64 dy = gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

} // namespace

ScreenFit::ScreenFit(QList<QRect> areas) : m_areas(std::move(areas)) {
    m_areas.removeIf([](const QRect& r) { return r.isEmpty(); });
}

int ScreenFit::areaFor(const QRect& outer) const {
    int best = -1;
    qint64 bestOverlap = 0;
    for (int i = 0; i < m_areas.size(); ++i) {
        const qint64 o = overlap(outer, m_areas.at(i));
        if (o > bestOverlap) {
            bestOverlap = o;
            best = i;
        }
    }
    if (best >= 0)
        return best;
    qint64 nearest = std::numeric_limits<qint64>::max();
    for (int i = 0; i < m_areas.size(); ++i) {
        const qint64 d = distance(outer, m_areas.at(i));
        if (d < nearest) {
            nearest = d;
            best = i;
        }
    }
    return best;
}

bool ScreenFit::contains(const QRect& outer) const {
    return m_areas.isEmpty() || std::any_of(m_areas.begin(), m_areas.end(),
                                            [&](const QRect& a) { return a.contains(outer); });
}

QRect ScreenFit::place(const QRect& client, const QMargins& frame) const {
    const QRect outer = client.marginsAdded(frame);
    if (contains(outer))
        return client;
    const QRect area = m_areas.at(areaFor(outer));
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int width = std::max(1, std::min(client.width(), area.width() - frameWidth));
    const int height = std::max(1, std::min(client.height(), area.height() - frameHeight));
    // The frame's top left corner, kept inside the area; the area's top left wins when even
    // the smallest window does not fit.
    const int x =
        std::max(area.left(), std::min(outer.left(), area.right() + 1 - frameWidth - width));
    const int y =
        std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - frameHeight - height));
    return {x + frame.left(), y + frame.top(), width, height};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WindowPlacement.h"

#include "data/Settings.h"
#include "shell/Twips.h"

#include <algorithm>

namespace WindowPlacement {

Stored read(const Settings& s) {
    return {s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight, s.windowMaximised};
}

QRect fitInto(const QRect& window, const QMargins& frame, const QRect& area) {
    const int frameWidth = std::min(window.width() + frame.left() + frame.right(), area.width());
    const int frameHeight = std::min(window.height() + frame.top() + frame.bottom(), area.height());
    const int x = std::clamp(window.x(), area.x(), area.x() + area.width() - frameWidth);
    const int y = std::clamp(window.y(), area.y(), area.y() + area.height() - frameHeight);
    return {x, y, std::max(1, frameWidth - frame.left() - frame.right()),
            std::max(1, frameHeight - frame.top() - frame.bottom())};
}

Opening onOpen(const Stored& stored, QSize defaultSize, const QList<Screen>& screens,
               const QMargins& frame) {
    using Twips::toPixels;
    Opening o;
    o.maximised = stored.maximised;
    const int width = stored.width > 0 ? toPixels(stored.width) : defaultSize.width();
    const int height = stored.height > 0 ? toPixels(stored.height) : defaultSize.height();
    o.geometry = QRect(toPixels(stored.left), toPixels(stored.top), width, height);
    if (screens.isEmpty())
        return o;

    QRect desktop;
    for (const Screen& s : screens)
        desktop |= s.geometry;
    const double desktopRight = Twips::fromPixels(desktop.x() + desktop.width());
    const double desktopBottom = Twips::fromPixels(desktop.y() + desktop.height());
    // Beyond the right or bottom edge (a display removed or made smaller), or wholly off the
    // left or top: nothing of the window could be seen or grabbed.
    if (stored.left > desktopRight || stored.top > desktopBottom ||
        !desktop.intersects(o.geometry)) {
        const QRect area = screens.first().available;
        o.geometry = area.marginsRemoved(frame);
        o.fitted = true;
        return o;
    }

    const Screen* home = &screens.first();
    qint64 best = -1;
    for (const Screen& s : screens) {
        const QRect common = s.geometry & o.geometry.marginsAdded(frame);
        const qint64 overlap = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (overlap > best) {
            best = overlap;
            home = &s;
        }
    }
    const QRect asStored = o.geometry;
    o.geometry = fitInto(o.geometry, frame, home->available);
    o.fitted = o.geometry != asStored;
    return o;
}

void onClose(Settings& s, const QRect& geometry, const QRect& fittedTo, bool minimised,
             bool maximised) {
    if (!minimised && !maximised && geometry != fittedTo) {
        s.windowLeft = Twips::fromPixels(geometry.x());
        s.windowTop = Twips::fromPixels(geometry.y());
        s.windowWidth = Twips::fromPixels(geometry.width());
        s.windowHeight = Twips::fromPixels(geometry.height());
    }
    s.windowMaximised = maximised;
}

Stored load(const SettingsStore& store) {
    const std::optional<Settings> s = store.load();
    return s ? read(*s) : Stored{};
}

bool save(const SettingsStore& store, const QRect& geometry, const QRect& fittedTo, bool minimised,
          bool maximised) {
    return store.update([&](Settings& s) { onClose(s, geometry, fittedTo, minimised, maximised); });
}

} // namespace WindowPlacement

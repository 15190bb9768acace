// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WindowPlacement.h"

#include "data/Settings.h"
#include "shell/ScreenFit.h"
#include "shell/Twips.h"

namespace WindowPlacement {

Stored read(const Settings& s) {
    return {s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight, s.windowMaximised};
}

Opening onOpen(const Stored& stored, QSize defaultSize, const QList<Screen>& screens,
               const QMargins& frame) {
    using Twips::toPixels;
    Opening o;
    o.maximised = stored.maximised;
    const int width = stored.width > 0 ? toPixels(stored.width) : defaultSize.width();
    const int height = stored.height > 0 ? toPixels(stored.height) : defaultSize.height();
    o.geometry = QRect(toPixels(stored.left), toPixels(stored.top), width, height);
    QList<QRect> areas;
    for (const Screen& s : screens)
        areas << s.available;
    const ScreenFit fit(areas);
    if (fit.isEmpty())
        return o;
    // The stored left and top are the frame's; the rule works on the client area.
    const QPoint corner(frame.left(), frame.top());
    const QRect client(o.geometry.topLeft() + corner, o.geometry.size());
    const QRect placed = fit.place(client, frame);
    o.geometry = QRect(placed.topLeft() - corner, placed.size());
    o.fitted = placed != client;
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

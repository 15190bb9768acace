#include "core/WindowPlacement.h"

#include "core/Settings.h"
#include "core/Twips.h"

namespace WindowPlacement {

Stored read(const Settings& s) {
    return {s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight, s.windowMaximised};
}

Opening onOpen(const Stored& stored, QSize defaultSize, const QRect& desktop, const QRect& screen) {
    using Twips::toPixels;
    Opening o;
    const int width = stored.width > 0 ? toPixels(stored.width) : defaultSize.width();
    const int height = stored.height > 0 ? toPixels(stored.height) : defaultSize.height();
    o.geometry = QRect(toPixels(stored.left), toPixels(stored.top), width, height);
    const double desktopRight = Twips::fromPixels(desktop.x() + desktop.width());
    const double desktopBottom = Twips::fromPixels(desktop.y() + desktop.height());
    // Beyond the right or bottom edge (a display removed or made smaller), or wholly
    // off the left or top: nothing of the window could be seen or grabbed.
    if (stored.left > desktopRight || stored.top > desktopBottom || !desktop.intersects(o.geometry))
        o.geometry = screen;
    o.maximised = stored.maximised;
    return o;
}

void onClose(Settings& s, const QRect& geometry, bool minimised, bool maximised) {
    if (!minimised && !maximised) {
        s.windowLeft = Twips::fromPixels(geometry.x());
        s.windowTop = Twips::fromPixels(geometry.y());
        s.windowWidth = Twips::fromPixels(geometry.width());
        s.windowHeight = Twips::fromPixels(geometry.height());
    }
    s.windowMaximised = maximised;
}

Stored load(const QString& dataFile) {
    const std::optional<Settings> s = SettingsStore(dataFile).load();
    return s ? read(*s) : Stored{};
}

bool save(const QString& dataFile, const QRect& geometry, bool minimised, bool maximised) {
    return SettingsStore(dataFile).update(
        [&](Settings& s) { onClose(s, geometry, minimised, maximised); });
}

} // namespace WindowPlacement

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <functional>

// What a screen grab gave: the picture in device pixels with its device pixel ratio set to
// the screen's, or a null image and the reason. A picture of the whole desktop also says
// where each monitor lies in it: `logical` its geometry on the desktop (logical pixels),
// `picture` the pixels of the picture that show it. Without `screens` the picture shows
// the one area asked for.
struct ScreenGrab {
    struct Screen {
        QRect logical;
        QRect picture;
    };
    QImage image;
    QString error;
    QList<Screen> screens;
};

// Takes a picture of one screen. Some desktops hand the picture over later (a Wayland
// session asks its screenshot portal), so the answer comes through a callback.
class ScreenGrabber {
public:
    using Done = std::function<void(const ScreenGrab&)>;
    virtual ~ScreenGrabber() = default;

    // Grabs `area` (logical pixels, desktop coordinates): the whole desktop, every monitor
    // at its own device pixels, when it is the union of the screens.
    // `done` runs exactly once: at once, or later from the event loop.
    virtual void grab(const QRect& area, Done done) = 0;
};

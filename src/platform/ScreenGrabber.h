// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

// What a screen grab gave: the picture in device pixels with its device pixel ratio set to
// the screen's, or a null image and the reason.
struct ScreenGrab {
    QImage image;
    QString error;
};

// Takes a picture of one screen. Some desktops hand the picture over later (a Wayland
// session asks its screenshot portal), so the answer comes through a callback.
class ScreenGrabber {
public:
    using Done = std::function<void(const ScreenGrab&)>;
    virtual ~ScreenGrabber() = default;

    // Grabs the screen whose geometry (logical pixels, desktop coordinates) is `screen`.
    // `done` runs exactly once: at once, or later from the event loop.
    virtual void grab(const QRect& screen, Done done) = 0;
};

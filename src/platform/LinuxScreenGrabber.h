// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ScreenGrabber.h"

// The screen of an X11 session straight from the X server; in a Wayland session, or when
// the direct grab gives nothing, through the desktop's screenshot portal.
class LinuxScreenGrabber final : public ScreenGrabber {
public:
    void grab(const QRect& screen, Done done) override;

    // The desktop runs Wayland: a direct grab would see nothing, or only X11 programs.
    static bool isWaylandSession();
    // The part of a picture of the whole desktop (`desktop` in logical pixels) that
    // shows `screen`, with its device pixel ratio set.
    static QImage screenPart(const QImage& picture, const QRect& desktop, const QRect& screen);
};

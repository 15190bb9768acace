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

    // One monitor's picture: its geometry (logical pixels) and what it shows, in device
    // pixels.
    struct Piece {
        QRect logical;
        QImage image;
    };
    // The picture of the whole desktop: each monitor's picture at its own device pixels,
    // placed where the desktop puts the monitor (its top left corner is the same in logical
    // and device pixels), what no monitor shows black. Its device pixel ratio is the
    // monitors' when they share one, else 1.
    static ScreenGrab compose(const QList<Piece>& pieces);
    // A picture of the whole desktop (from the portal) with the monitors of `screens` laid
    // over it, in proportion.
    static ScreenGrab desktopPicture(const QImage& picture, const QList<QRect>& screens);
};

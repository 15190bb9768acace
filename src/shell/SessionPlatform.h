// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Plumora places its menu and notices itself, which Wayland does not allow a client to do.
// On a Wayland session that also offers X11 (XWayland), it runs on X11 unless the user
// chose a platform with QT_QPA_PLATFORM. Returns the platform to set, or empty to leave
// the choice to Qt.
QByteArray preferredQtPlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                               const QByteArray& x11Display, const QByteArray& sessionType);

// On XWayland the Wayland compositor, not an X11 window manager, places and focuses X11
// windows: it may centre a window whatever place it asks for and hand the keyboard to every
// new one. Windows Plumora places itself (the tray menu, notices) then bypass it; an X11
// window manager honours their place and type and keeps managing them.
bool ownPlacementBypassesWindowManager(const QByteArray& qtPlatform,
                                       const QByteArray& waylandDisplay);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Plumora places its menu and notices itself, which Wayland does not allow a client to do.
// On a Wayland session that also offers X11 (XWayland), it runs on X11 unless the user
// chose a platform with QT_QPA_PLATFORM. Returns the platform to set, or empty to leave
// the choice to Qt.
QByteArray preferredQtPlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                               const QByteArray& x11Display, const QByteArray& sessionType);

// sway places and focuses the X11 windows of XWayland by its own rules: it centres a floating
// window whatever place it asks for and hands the keyboard to every new one. Windows Plumora
// places itself (the tray menu, notices) bypass it there. Told by the Qt platform, the
// desktop names of XDG_CURRENT_DESKTOP and sway's socket (SWAYSOCK); other desktops keep
// managing them, as they honour the place and the window type.
bool ownPlacementBypassesWindowManager(const QByteArray& qtPlatform,
                                       const QByteArray& currentDesktop,
                                       const QByteArray& swaySocket);

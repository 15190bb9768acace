// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Plumora places its menu and notices itself, which Wayland does not allow a client to do.
// On a Wayland session that also offers X11 (XWayland), it runs on X11 unless the user
// chose a platform with QT_QPA_PLATFORM. Returns the platform to set, or empty to leave
// the choice to Qt.
QByteArray preferredQtPlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                               const QByteArray& x11Display, const QByteArray& sessionType);

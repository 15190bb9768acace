// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SessionPlatform.h"

#include <QList>

QByteArray preferredQtPlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                               const QByteArray& x11Display, const QByteArray& sessionType) {
    if (!qpaPlatform.isEmpty() || x11Display.isEmpty())
        return {};
    if (waylandDisplay.isEmpty() && sessionType != "wayland")
        return {};
    return QByteArrayLiteral("xcb");
}

bool ownPlacementBypassesWindowManager(const QByteArray& qtPlatform,
                                       const QByteArray& currentDesktop,
                                       const QByteArray& swaySocket) {
    if (qtPlatform != "xcb")
        return false;
    if (!swaySocket.isEmpty())
        return true;
    const QList<QByteArray> desktops = currentDesktop.toLower().split(':');
    return desktops.contains("sway");
}

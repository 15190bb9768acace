// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinuxScreenGrabber.h"

#include "base/Log.h"
#include "platform/ScreenPortal.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {

QImage grabDirectly(const QRect& area) {
    QScreen* screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QImage picture = screen->grabWindow(0).toImage();
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return {};
    const qreal ratio = screen->devicePixelRatio();
    if (picture.size() == (QSizeF(screen->geometry().size()) * ratio).toSize()) {
        QImage whole = picture;
        whole.setDevicePixelRatio(ratio);
        return whole;
    }
    // Some platforms hand back the whole desktop.
    return LinuxScreenGrabber::screenPart(picture, screen->virtualGeometry(), screen->geometry());
}

QRect desktopGeometry() {
    QRect desktop;
    for (const QScreen* s : QGuiApplication::screens())
        desktop |= s->geometry();
    return desktop;
}

} // namespace

bool LinuxScreenGrabber::isWaylandSession() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

QImage LinuxScreenGrabber::screenPart(const QImage& picture, const QRect& desktop,
                                      const QRect& screen) {
    if (picture.isNull() || desktop.isEmpty())
        return {};
    const qreal ratio = picture.width() / qreal(desktop.width());
    const QPoint offset = screen.topLeft() - desktop.topLeft();
    const QRect part = QRect(QPoint(qRound(offset.x() * ratio), qRound(offset.y() * ratio)),
                             (QSizeF(screen.size()) * ratio).toSize())
                           .intersected(picture.rect());
    if (part.isEmpty())
        return {};
    QImage out = picture.copy(part);
    out.setDevicePixelRatio(ratio);
    return out;
}

void LinuxScreenGrabber::grab(const QRect& screen, Done done) {
    if (!isWaylandSession()) {
        const QImage picture = grabDirectly(screen);
        if (!picture.isNull()) {
            done({picture, {}});
            return;
        }
        qCWarning(lcDesktop) << "the direct screen grab was empty; asking the portal";
    }
    // The session bus is reached only now, so a desktop without one is never touched
    // before a capture.
    ScreenPortal::request(
        QDBusConnection::sessionBus(),
        [screen, done = std::move(done)](const QImage& picture, const QString& error) {
            if (picture.isNull()) {
                done({{}, error});
                return;
            }
            const QImage part = screenPart(picture, desktopGeometry(), screen);
            done({part, part.isNull() ? QStringLiteral("the screenshot "
                                                       "shows no screen")
                                      : QString()});
        });
}

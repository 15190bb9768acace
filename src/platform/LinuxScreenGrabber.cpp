// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinuxScreenGrabber.h"

#include "base/Log.h"
#include "platform/ScreenPortal.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace {

// One monitor's picture in device pixels, or a null image.
QImage grabScreen(QScreen* screen) {
    const QImage picture = screen->grabWindow(0).toImage();
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return {};
    const qreal ratio = screen->devicePixelRatio();
    if (picture.size() == (QSizeF(screen->geometry().size()) * ratio).toSize())
        return picture;
    // Some platforms hand back the whole desktop.
    return LinuxScreenGrabber::screenPart(picture, screen->virtualGeometry(), screen->geometry());
}

// Every monitor grabbed straight from the X server, in one picture.
ScreenGrab grabDesktop() {
    QList<LinuxScreenGrabber::Piece> pieces;
    for (QScreen* screen : QGuiApplication::screens()) {
        QImage picture = grabScreen(screen);
        if (picture.isNull())
            return {};
        picture.setDevicePixelRatio(screen->devicePixelRatio());
        pieces.append({screen->geometry(), picture});
    }
    return LinuxScreenGrabber::compose(pieces);
}

QList<QRect> screenGeometries() {
    QList<QRect> all;
    for (const QScreen* s : QGuiApplication::screens())
        all << s->geometry();
    return all;
}

QRect desktopGeometry() {
    QRect desktop;
    for (const QRect& s : screenGeometries())
        desktop |= s;
    return desktop;
}

} // namespace

ScreenGrab LinuxScreenGrabber::compose(const QList<Piece>& pieces) {
    ScreenGrab grab;
    QRect device;
    QList<QRect> placed;
    qreal ratio = pieces.isEmpty() ? 1.0 : pieces.first().image.devicePixelRatio();
    for (const Piece& p : pieces) {
        const QRect r(p.logical.topLeft(), p.image.size());
        placed << r;
        device |= r;
        if (!qFuzzyCompare(p.image.devicePixelRatio(), ratio))
            ratio = 1.0;
    }
    if (device.isEmpty())
        return grab;
    grab.image = QImage(device.size(), QImage::Format_RGB32);
    grab.image.fill(Qt::black);
    {
        QPainter painter(&grab.image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            QImage part = pieces.at(i).image;
            part.setDevicePixelRatio(1.0);
            const QRect at = placed.at(i).translated(-device.topLeft());
            painter.drawImage(at.topLeft(), part);
            grab.screens.append({pieces.at(i).logical, at});
        }
    }
    grab.image.setDevicePixelRatio(ratio);
    return grab;
}

ScreenGrab LinuxScreenGrabber::desktopPicture(const QImage& picture, const QList<QRect>& screens) {
    ScreenGrab grab;
    QRect desktop;
    for (const QRect& s : screens)
        desktop |= s;
    if (picture.isNull() || desktop.isEmpty())
        return grab;
    const qreal ratio = picture.width() / qreal(desktop.width());
    grab.image = picture;
    grab.image.setDevicePixelRatio(ratio);
    for (const QRect& s : screens) {
        const QPoint offset = s.topLeft() - desktop.topLeft();
        grab.screens.append(
            {s, QRect(QPoint(qRound(offset.x() * ratio), qRound(offset.y() * ratio)),
                      (QSizeF(s.size()) * ratio).toSize())
                    .intersected(picture.rect())});
    }
    return grab;
}

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

void LinuxScreenGrabber::grab(const QRect& area, Done done) {
    const bool whole = area == desktopGeometry();
    if (!isWaylandSession()) {
        ScreenGrab picture;
        if (whole) {
            picture = grabDesktop();
        } else if (QScreen* screen = QGuiApplication::screenAt(area.center())) {
            picture.image = grabScreen(screen);
            if (!picture.image.isNull() && picture.image.devicePixelRatio() == 1.0)
                picture.image.setDevicePixelRatio(screen->devicePixelRatio());
        }
        if (!picture.image.isNull()) {
            done(picture);
            return;
        }
        qCWarning(lcDesktop) << "the direct screen grab was empty; asking the portal";
    }
    // The session bus is reached only now, so a desktop without one is never touched
    // before a capture.
    ScreenPortal::request(
        QDBusConnection::sessionBus(),
        [area, whole, done = std::move(done)](const QImage& picture, const QString& error) {
            if (picture.isNull()) {
                done({{}, error, {}});
                return;
            }
            // The portal's picture shows every output.
            if (whole) {
                ScreenGrab grab = desktopPicture(picture, screenGeometries());
                if (grab.image.isNull())
                    grab.error = QCoreApplication::translate("LinuxScreenGrabber",
                                                             "the screenshot shows no screen");
                done(grab);
                return;
            }
            const QImage part = screenPart(picture, desktopGeometry(), area);
            done({part,
                  part.isNull() ? QCoreApplication::translate("LinuxScreenGrabber",
                                                              "the screenshot shows no screen")
                                : QString(),
                  {}});
        });
}

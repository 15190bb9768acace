// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <functional>

// One screenshot asked of the desktop portal (org.freedesktop.portal.Screenshot), the way a
// Wayland session lets a program see the screen: the request, the Response signal of its
// request object, and the picture file the answer names.
class ScreenPortal : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const QImage& picture, const QString& error)>;

    // Sends the request; `done` runs exactly once from the event loop, with the picture
    // or a null image and the reason. A portal that never answers counts as a failure
    // after `timeoutMs`.
    static void request(const QDBusConnection& bus, Done done, int timeoutMs = 60000);

    // The request object the portal creates for `token` when asked over `bus`.
    static QString requestPath(const QDBusConnection& bus, const QString& token);

private Q_SLOTS:
    void responded(uint response, const QVariantMap& results);

private:
    ScreenPortal(const QDBusConnection& bus, Done done);
    void start(int timeoutMs);
    void watch(const QString& path);
    void finish(const QImage& picture, const QString& error);

    QDBusConnection m_bus;
    Done m_done;
    QString m_path;
    QTimer m_timeout;
};

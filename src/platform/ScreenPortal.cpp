// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScreenPortal.h"

#include "base/Log.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>

namespace {
const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString ObjectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString Response = QStringLiteral("Response");
} // namespace

ScreenPortal::ScreenPortal(const QDBusConnection& bus, Done done)
    : m_bus(bus), m_done(std::move(done)) {
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this,
            [this] { finish({}, tr("the screenshot portal did not answer")); });
}

void ScreenPortal::request(const QDBusConnection& bus, Done done, int timeoutMs) {
    (new ScreenPortal(bus, std::move(done)))->start(timeoutMs);
}

QString ScreenPortal::requestPath(const QDBusConnection& bus, const QString& token) {
    // ":1.42" becomes "1_42".
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return ObjectPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void ScreenPortal::start(int timeoutMs) {
    if (!m_bus.isConnected()) {
        // Answered from the event loop like every other outcome.
        const QString why = tr("no session bus: %1").arg(m_bus.lastError().message());
        QMetaObject::invokeMethod(
            this, [this, why] { finish({}, why); }, Qt::QueuedConnection);
        return;
    }
    const QString token = QStringLiteral("plumora%1")
                              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    // Listen before asking: the answer may arrive before the call's own reply.
    watch(requestPath(m_bus, token));

    QDBusMessage call = QDBusMessage::createMethodCall(Service, ObjectPath, Interface,
                                                       QStringLiteral("Screenshot"));
    call << QString() // no parent window
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false}};
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            finish({}, tr("the screenshot portal refused: %1").arg(reply.error().message()));
            return;
        }
        // Portals older than the token convention pick their own path.
        if (!m_done || reply.value().path() == m_path)
            return;
        watch(reply.value().path());
    });
    m_timeout.start(timeoutMs);
}

void ScreenPortal::watch(const QString& path) {
    if (!m_path.isEmpty())
        m_bus.disconnect(QString(), m_path, RequestInterface, Response, this,
                         SLOT(responded(uint, QVariantMap)));
    m_path = path;
    // Any sender: the portal answers from its unique name, not from Service.
    m_bus.connect(QString(), m_path, RequestInterface, Response, this,
                  SLOT(responded(uint, QVariantMap)));
}

void ScreenPortal::responded(uint response, const QVariantMap& results) {
    if (response == 1) {
        finish({}, tr("the screenshot was cancelled"));
        return;
    }
    if (response != 0) {
        finish({}, tr("the desktop refused the screenshot"));
        return;
    }
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    const QString file = uri.isLocalFile() ? uri.toLocalFile() : QString();
    if (file.isEmpty()) {
        finish({}, tr("the screenshot portal named no picture file"));
        return;
    }
    const QImage picture(file);
    if (picture.isNull()) {
        finish({}, tr("the picture %1 cannot be read").arg(file));
        return;
    }
    // The portal made the file for this request only (some put it in the user's pictures);
    // the picture is held now, so the file goes.
    if (!QFile::remove(file))
        qCWarning(lcDesktop) << "the portal's screenshot file cannot be removed:" << file;
    finish(picture, {});
}

void ScreenPortal::finish(const QImage& picture, const QString& error) {
    if (!m_done)
        return;
    m_timeout.stop();
    if (!m_path.isEmpty())
        m_bus.disconnect(QString(), m_path, RequestInterface, Response, this,
                         SLOT(responded(uint, QVariantMap)));
    if (!error.isEmpty())
        qCWarning(lcDesktop) << "screen grab through the portal failed:" << error;
    const Done done = std::exchange(m_done, nullptr);
    deleteLater();
    done(picture, error);
}

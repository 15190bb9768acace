// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LogindSleepInhibitor.h"

#include "base/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

namespace {
const QString Service = QStringLiteral("org.freedesktop.login1");
const QString Path = QStringLiteral("/org/freedesktop/login1");
const QString Manager = QStringLiteral("org.freedesktop.login1.Manager");
} // namespace

LogindSleepInhibitor::LogindSleepInhibitor(QDBusConnection bus, QObject* parent)
    : SleepInhibitor(parent), m_bus(std::move(bus)) {
    if (!m_bus.isConnected())
        return;
    m_bus.connect(Service, Path, Manager, QStringLiteral("PrepareForSleep"), this,
                  SLOT(prepareForSleep(bool)));
}

LogindSleepInhibitor::~LogindSleepInhibitor() {
    release();
}

void LogindSleepInhibitor::hold() {
    if (!m_bus.isConnected() || m_fd >= 0 || m_asking)
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Manager, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Plumora")
         << tr("Saving notes and lists before sleep") << QStringLiteral("delay");
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        if (reply.isError()) {
            qCInfo(lcDesktop) << "no sleep lock:" << reply.error().message();
            return;
        }
        // The reply's descriptor closes with it: keep a copy of our own.
        const int fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
        if (fd < 0)
            return;
        release();
        m_fd = fd;
    });
}

void LogindSleepInhibitor::release() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

void LogindSleepInhibitor::prepareForSleep(bool start) {
    if (start)
        Q_EMIT aboutToSleep();
    else
        Q_EMIT resumed();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/PowerControl.h"

#include <QDBusError>
#include <QDBusMessage>

namespace {
const QString Service = QStringLiteral("org.freedesktop.login1");
const QString Path = QStringLiteral("/org/freedesktop/login1");
const QString Interface = QStringLiteral("org.freedesktop.login1.Manager");

bool isUnreachable(QDBusError::ErrorType type) {
    switch (type) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
    case QDBusError::NoNetwork:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return true;
    default:
        return false;
    }
}
} // namespace

LogindPowerControl::LogindPowerControl(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus)), m_timeoutMs(timeoutMs) {}

PowerControl::Result LogindPowerControl::powerOff() {
    return call(QStringLiteral("PowerOff"));
}

PowerControl::Result LogindPowerControl::hibernate() {
    return call(QStringLiteral("Hibernate"));
}

PowerControl::Result LogindPowerControl::call(const QString& method) {
    if (!m_bus.isConnected())
        return {Result::Unreachable, m_bus.lastError().message()};
    QDBusMessage request = QDBusMessage::createMethodCall(Service, Path, Interface, method);
    request << true; // interactive: let polkit ask instead of refusing outright
    const QDBusMessage reply = m_bus.call(request, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return {Result::Done, {}};
    const QDBusError error(reply);
    const QString detail = error.message().isEmpty() ? error.name() : error.message();
    return {isUnreachable(error.type()) ? Result::Unreachable : Result::Refused, detail};
}

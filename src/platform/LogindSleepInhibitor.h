// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SleepInhibitor.h"

#include <QDBusConnection>

// systemd-logind's "delay" inhibitor lock for sleep and its PrepareForSleep signal, on the
// system bus (DBUS_SYSTEM_BUS_ADDRESS moves it, as for every D-Bus client).
class LogindSleepInhibitor final : public SleepInhibitor {
    Q_OBJECT
public:
    explicit LogindSleepInhibitor(QDBusConnection bus = QDBusConnection::systemBus(),
                                  QObject* parent = nullptr);
    ~LogindSleepInhibitor() override;

    void hold() override;
    void release() override;
    bool holding() const override { return m_fd >= 0; }

private Q_SLOTS:
    void prepareForSleep(bool start);

private:
    QDBusConnection m_bus;
    int m_fd = -1;
    bool m_asking = false;
};

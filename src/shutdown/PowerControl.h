// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

// Powers the machine off or hibernates it. Behind an interface so the helper's tests
// never touch the real machine.
class PowerControl {
public:
    struct Result {
        enum Outcome { Done, Refused, Unreachable };
        Outcome outcome = Done;
        QString detail; // the service's own words when it did not comply
    };

    virtual ~PowerControl() = default;
    virtual Result powerOff() = 0;
    virtual Result hibernate() = 0;
};

// systemd-logind over D-Bus. The requests are interactive, so polkit may ask the user
// to confirm; the call waits long enough for someone to answer.
class LogindPowerControl final : public PowerControl {
public:
    explicit LogindPowerControl(QDBusConnection bus = QDBusConnection::systemBus(),
                                int timeoutMs = 5 * 60 * 1000);

    Result powerOff() override;
    Result hibernate() override;

private:
    Result call(const QString& method);

    QDBusConnection m_bus;
    int m_timeoutMs;
};

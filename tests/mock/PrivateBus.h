// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

// A session bus of the test's own: a dbus-daemon listening in a folder of its own, ended with
// the object.
class PrivateBus {
public:
    PrivateBus() = default;
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    ~PrivateBus() { stop(); }

    static bool available() {
        return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty();
    }

    // Starts the daemon and waits for its address; false when it gives none within 10 s.
    bool start() {
        m_daemon.start(QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")),
                       {QStringLiteral("--session"),
                        QStringLiteral("--address=unix:dir=") + m_dir.path(),
                        QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted())
            return false;
        const QDeadlineTimer deadline(10000);
        while (!m_daemon.canReadLine() && !deadline.hasExpired())
            m_daemon.waitForReadyRead(100);
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        return !m_address.isEmpty();
    }
    void stop() {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    const QString& address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

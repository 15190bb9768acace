// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

// A repeating timer as the notice windows' rules see it. Windows hand in a QTimer; tests
// hand in a fake and fire it themselves, so no test waits for real seconds.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void setInterval(int ms) = 0;
    // (Re)starts counting a whole interval from now.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// The real thing: a QTimer that the window owns.
class QtTickTimer final : public TickTimer {
public:
    explicit QtTickTimer(QTimer& timer) : m_timer(timer) {}
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer& m_timer;
};

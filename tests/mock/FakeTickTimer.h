// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TickTimer.h"
#include "mock/FakeClock.h"

#include <functional>

// A timer on the fake clock: runUntil() fires it at each due time, moving the clock there
// first, as a QTimer would in real time.
class FakeTickTimer final : public TickTimer {
public:
    explicit FakeTickTimer(FakeClock& clock) : m_clock(clock) {}
    std::function<void()> onTimeout;
    int interval = 0;
    bool active = false;
    qint64 due = 0;

    void setInterval(int ms) override {
        interval = ms;
        if (active) // a running QTimer counts a new interval from now
            due = m_clock.monotonicMs() + ms;
    }
    void start() override {
        active = true;
        due = m_clock.monotonicMs() + interval;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }

    void runUntil(qint64 until) {
        while (active && due <= until) {
            m_clock.advanceMs(due - m_clock.monotonicMs());
            due += interval;
            onTimeout();
        }
        m_clock.advanceMs(until - m_clock.monotonicMs());
    }

private:
    FakeClock& m_clock;
};

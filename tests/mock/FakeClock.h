// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 10), QTime(8, 30)))
        : m_now(std::move(start)) {}

    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }

    void set(const QDateTime& t) { m_now = t; }
    // Moves wall time and the monotonic clock together.
    void advanceMs(qint64 ms) {
        m_now = m_now.addMSecs(ms);
        m_monotonic += ms;
    }
    void advanceSecs(qint64 s) { advanceMs(s * 1000); }

private:
    QDateTime m_now;
    qint64 m_monotonic = 0;
};

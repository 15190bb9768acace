// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The one source of "now". Nothing else in Plumora reads the system clock, so every
// date rule can be tested on a fixed day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // now() with the local offset fixed (withFixedOffset below).
    virtual QDateTime nowWithFixedOffset() const;
    QDate today() const { return now().date(); }
    // Monotonic milliseconds, for elapsed times that must survive clock changes.
    virtual qint64 monotonicMs() const = 0;
};

// The same instant and wall-clock time with the local offset fixed. A local time is turned
// into an instant through the C library, with a look at the system's time zone file, every
// time it is compared or counted from; this one compares for free. For work on one instant
// (a tick), not for calendar steps that may cross a change of summer time.
QDateTime withFixedOffset(const QDateTime& t);

inline QDateTime Clock::nowWithFixedOffset() const {
    return withFixedOffset(now());
}

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    // One look at the time zone instead of the two or three QDateTime takes: on a tick that
    // wakes once a minute on cold caches, each look is a system call that counts.
    QDateTime nowWithFixedOffset() const override;
    qint64 monotonicMs() const override;
};

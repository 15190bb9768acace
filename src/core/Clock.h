#pragma once

#include <QDateTime>

// The one source of "now". Nothing else in Plumora reads the system clock, so every
// date rule can be tested on a fixed day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    // Monotonic milliseconds, for elapsed times that must survive clock changes.
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override;
};

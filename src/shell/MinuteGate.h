// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QTime>

#include <optional>

// One minute of the local wall clock. Kept as date and time apart because some wall
// minutes do not exist as a QDateTime (the hour skipped when summer time starts).
struct WallMinute {
    QDate date;
    QTime time;
    bool operator==(const WallMinute&) const = default;
    auto operator<=>(const WallMinute& o) const {
        return date != o.date ? date.toJulianDay() <=> o.date.toJulianDay()
                              : time.msecsSinceStartOfDay() <=> o.time.msecsSinceStartOfDay();
    }
};

// The wall minutes a tick skipped, first and last included.
struct MinuteGap {
    WallMinute first;
    WallMinute last;
    bool operator==(const MinuteGap&) const = default;
};

// Decides which wall-clock minutes a tick handles, so that timer drift neither skips nor
// repeats a minute:
// - every minute is handled once: a second tick in the same minute handles nothing, and a
//   late tick also handles the minute it missed;
// - after more than MaxCatchUpMinutes of real time (suspend, the clock set forward) the
//   missed minutes are skipped, never replayed: only the current minute is handled, and
//   skipped() tells which were passed over;
// - when the wall clock goes back (summer time ends, the clock set back a little) the
//   repeated minutes are not handled again; a jump back of more than MaxRepeatMinutes
//   starts afresh from the new time;
// - the wall minutes skipped when summer time starts are handled on the next tick, so a
//   daily 02:30 entry still runs that day.
class MinuteGate {
public:
    static constexpr int MaxCatchUpMinutes = 2;
    static constexpr int MaxRepeatMinutes = 120;
    // Ticks are aimed this far past the minute boundary, so timer jitter cannot land one
    // just before it.
    static constexpr int TickMarginMs = 200;

    // Consecutive wall minutes (as Julian day * 1440 + minute of the day), made into a list
    // only where a job looks at them.
    struct Span {
        qint64 first = 0;
        qint64 count = 0;
        QList<WallMinute> minutes() const;
    };
    // The minutes a tick at `now` handles, oldest first; empty when there is none new.
    Span advanceSpan(const QDateTime& now);
    QList<WallMinute> advance(const QDateTime& now) { return advanceSpan(now).minutes(); }
    // The minutes the last advance() passed over without handling them, if any.
    const std::optional<MinuteGap>& skipped() const { return m_skipped; }
    // Milliseconds from `now` until the next tick should come.
    static int msUntilNextTick(const QDateTime& now);

private:
    bool m_started = false;
    qint64 m_lastUtcMinute = 0;
    qint64 m_lastWallMinute = 0;
    std::optional<MinuteGap> m_skipped;
};

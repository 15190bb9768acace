// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MinuteGate.h"

#include "base/IdlePath.h"

namespace {
constexpr qint64 MinutesPerDay = 24 * 60;
constexpr qint64 EpochJulianDay = 2440588; // 1970-01-01

qint64 floorMinutes(qint64 ms) {
    return ms >= 0 ? ms / 60000 : (ms - 59999) / 60000;
}

// The wall minute as Julian day * 1440 + minute of the day, from the instant and its offset
// alone: the tick runs on cold caches, where each call into QDateTime is a cost.
qint64 wallMinute(qint64 ms, int offsetSecs) {
    return floorMinutes(ms + qint64(offsetSecs) * 1000) + EpochJulianDay * MinutesPerDay;
}

WallMinute toWall(qint64 index) {
    const qint64 day = index / MinutesPerDay;
    const int inDay = int(index % MinutesPerDay);
    return {QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(inDay * 60000)};
}
} // namespace

QList<WallMinute> MinuteGate::Span::minutes() const {
    QList<WallMinute> list;
    list.reserve(count);
    for (qint64 m = first; m < first + count; ++m)
        list << toWall(m);
    return list;
}

PLUMORA_IDLE_PATH MinuteGate::Span MinuteGate::advanceSpan(const QDateTime& now) {
    const qint64 ms = now.toMSecsSinceEpoch();
    const qint64 utc = floorMinutes(ms);
    const qint64 wall = wallMinute(ms, now.offsetFromUtc());
    m_skipped.reset();
    if (!m_started) {
        m_started = true;
        m_lastUtcMinute = utc;
        m_lastWallMinute = wall;
        return {wall, 1};
    }

    const qint64 utcStep = utc - m_lastUtcMinute;
    const qint64 wallStep = wall - m_lastWallMinute;
    m_lastUtcMinute = utc;

    if (wallStep <= 0) {
        // The same minute again, or a repeated stretch of wall time: wait until the wall
        // clock passes the last handled minute. A far jump back starts afresh; this
        // minute then counts as handled.
        if (wallStep < -MaxRepeatMinutes)
            m_lastWallMinute = wall;
        return {};
    }

    const bool steady =
        utcStep >= 1 && utcStep <= MaxCatchUpMinutes && wallStep <= utcStep + MaxRepeatMinutes;
    Span span;
    if (steady) {
        span = {m_lastWallMinute + 1, wallStep};
    } else {
        span = {wall, 1};
        if (wallStep > 1)
            m_skipped = MinuteGap{toWall(m_lastWallMinute + 1), toWall(wall - 1)};
    }
    m_lastWallMinute = wall;
    return span;
}

PLUMORA_IDLE_PATH int MinuteGate::msUntilNextTick(const QDateTime& now) {
    const QTime t = now.time();
    const int intoMinute = t.second() * 1000 + t.msec();
    return 60000 - intoMinute + TickMarginMs;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clock.h"

#include "base/IdlePath.h"

#include <QElapsedTimer>

#include <ctime>

// Out of line, so the tick's copy is the one built with the idle path's files.
PLUMORA_IDLE_PATH QDateTime withFixedOffset(const QDateTime& t) {
    return t.timeSpec() == Qt::LocalTime ? t.toOffsetFromUtc(t.offsetFromUtc()) : t;
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

PLUMORA_IDLE_PATH QDateTime SystemClock::nowWithFixedOffset() const {
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const time_t seconds = time_t(ms / 1000);
    // tzset first, as QDateTime does: a zone changed since the last tick is seen.
    tzset();
    tm local{};
    if (ms < 0 || !localtime_r(&seconds, &local))
        return withFixedOffset(now());
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, int(local.tm_gmtoff));
}

qint64 SystemClock::monotonicMs() const {
    static const QElapsedTimer started = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return started.elapsed();
}

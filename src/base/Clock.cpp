// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clock.h"

#include <QElapsedTimer>

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

qint64 SystemClock::monotonicMs() const {
    static const QElapsedTimer started = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return started.elapsed();
}

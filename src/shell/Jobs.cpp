// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Jobs.h"

#include "shell/FiringRules.h"

#include <algorithm>

bool MinuteContext::includesHourStart() const {
    return std::any_of(minutes.begin(), minutes.end(),
                       [](const WallMinute& m) { return m.time.minute() == 0; });
}

bool intervalPassed(const QDateTime& last, const QDateTime& now, int interval) {
    if (!last.isValid())
        return true;
    const qint64 minutes = FiringRules::minutesBetween(last, now);
    return minutes < 0 || minutes >= interval;
}

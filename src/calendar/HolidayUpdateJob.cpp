// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/HolidayUpdateJob.h"

#include "base/Log.h"

HolidayUpdateJob::HolidayUpdateJob(std::function<void()> startUpdate)
    : m_startUpdate(std::move(startUpdate)) {}

void HolidayUpdateJob::run(MinuteContext& minute) {
    const QDate last = minute.cache.settings.lastHolidayUpdate;
    if (!minute.includesHourStart() || !last.isValid() ||
        last.daysTo(minute.now.date()) <= DaysBetweenUpdates)
        return;
    if (!minute.online()) {
        qCInfo(lcTick) << "holiday update due but the machine is offline";
        return;
    }
    if (m_startUpdate)
        m_startUpdate();
}

QDateTime HolidayUpdateJob::nextNeeded(const MinuteContext& minute) const {
    // It looks only at the start of an hour: the next one at the tick's offset (a change of
    // offset wakes every job).
    QDateTime hour = minute.now;
    hour.setTime(QTime(hour.time().hour(), 0));
    return hour.addSecs(3600);
}

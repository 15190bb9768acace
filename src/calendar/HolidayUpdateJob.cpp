#include "calendar/HolidayUpdateJob.h"

HolidayUpdateJob::HolidayUpdateJob(std::function<void()> startUpdate)
    : m_startUpdate(std::move(startUpdate)) {}

void HolidayUpdateJob::run(MinuteContext& minute) {
    const QDate last = minute.cache.settings.lastHolidayUpdate;
    if (!minute.includesHourStart() || !last.isValid() ||
        last.daysTo(minute.now.date()) <= DaysBetweenUpdates || !minute.online())
        return;
    if (m_startUpdate)
        m_startUpdate();
}

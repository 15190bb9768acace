#include "notify/ReminderJob.h"

#include "base/Clock.h"

ReminderJob::ReminderJob(const Clock& clock, std::function<void()> showReminder)
    : m_last(withFixedOffset(clock.now())), m_showReminder(std::move(showReminder)) {}

void ReminderJob::run(MinuteContext& minute) {
    if (!intervalPassed(m_last, minute.now, minute.cache.settings.showEvery))
        return;
    m_last = minute.now;
    if (m_showReminder)
        m_showReminder();
}

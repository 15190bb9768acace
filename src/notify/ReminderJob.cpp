// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ReminderJob.h"

#include "base/Clock.h"
#include "shell/MissedMinutes.h"

#include <algorithm>

ReminderJob::ReminderJob(const Clock& clock, std::function<void()> showReminder)
    : m_last(withFixedOffset(clock.now())), m_showReminder(std::move(showReminder)) {}

void ReminderJob::run(MinuteContext& minute) {
    if (!intervalPassed(m_last, minute.now, minute.cache.settings.showEvery))
        return;
    // Due while the tick was not running: shown now, once, and said to be late.
    const QDateTime dueAt = m_last.addSecs(60 * std::max(1, minute.cache.settings.showEvery));
    const WallMinute due{dueAt.date(), QTime(dueAt.time().hour(), dueAt.time().minute())};
    const bool late = minute.gap && !(due < minute.gap->first) && !(minute.gap->last < due);
    m_last = minute.now;
    if (m_showReminder)
        m_showReminder();
    if (late && (!m_shown || m_shown()))
        minute.missed.append(
            tr("Reminder: %1").arg(MissedMinutes::lateMark(due, minute.now.date())));
}

QDateTime ReminderJob::nextNeeded(const MinuteContext& minute) const {
    return intervalEnds(m_last, minute.now, minute.cache.settings.showEvery);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/DueEntriesJob.h"

#include "base/Log.h"
#include "shell/FiringRules.h"

void DueEntriesJob::run(MinuteContext& minute) {
    if (!minute.cache.hasDueEntries)
        return;
    for (const WallMinute& m : minute.minutes) {
        for (const DueEntry& entry : minute.cache.entries) {
            if (!FiringRules::fires(entry.date, entry.time, entry.frequency, m.date, m.time))
                continue;
            const DueAction* action = minute.dueAction(entry.action);
            if (action && action->fire)
                action->fire(entry);
            else
                qCWarning(lcTick) << "due entry of" << entry.action << "has no handler";
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleData.h"

#include "scheduler/ScheduleStore.h"

ToolData scheduleData() {
    return {{ScheduleStore::tables()}, ToolData::stores<ScheduleStore>()};
}

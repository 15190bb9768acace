// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CalendarData.h"

#include "calendar/EventStore.h"
#include "calendar/WeekStart.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/Subscriptions.h"

ToolData calendarData() {
    return {{EventStore::tables(), SubscriptionStore::tables(), CalDavStore::tables(),
             WeekStart::tables()},
            ToolData::stores<EventStore, SubscriptionStore, CalDavStore>()};
}

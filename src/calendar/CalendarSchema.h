// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/Subscriptions.h"

// The calendar's part of the data file: its events, its subscriptions and its CalDAV account's
// events, in that order.
inline QList<SchemaPart> calendarSchema() {
    return {EventStore::tables(), SubscriptionStore::tables(), CalDavStore::tables()};
}

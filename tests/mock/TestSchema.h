// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/Subscriptions.h"
#include "capture/CaptureStore.h"
#include "data/FileSchema.h"
#include "data/Migrations.h"
#include "data/Settings.h"
#include "notes/NoteStore.h"
#include "quickaccess/QuickAccessStore.h"
#include "scheduler/ScheduleStore.h"
#include "wallpaper/WallpaperStore.h"

// The data file's schema for tests that do not link the windows and so not the program's
// tool list: the same parts in the same order (tst_toolregistry holds it to the program's).
inline const FileSchema& testSchema() {
    static const FileSchema schema(
        {SettingsStore::tables(), EventStore::tables(), SubscriptionStore::tables(),
         CalDavStore::tables(), NoteStore::tables(), ScheduleStore::tables(),
         QuickAccessStore::tables(), CaptureStore::tables(), WallpaperStore::tables()});
    return schema;
}

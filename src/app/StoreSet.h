// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/Subscriptions.h"
#include "capture/CaptureStore.h"
#include "data/ChangeHub.h"
#include "data/DataStores.h"
#include "data/FileSchema.h"
#include "data/Settings.h"
#include "notes/NoteStore.h"
#include "quickaccess/QuickAccessStore.h"
#include "scheduler/ScheduleStore.h"
#include "wallpaper/WallpaperStore.h"

// Owns the schema, the hub and the stores of one data file; stores() is what AppContext hands out.
// Made before the pages and jobs that use it and destroyed after them.
class StoreSet {
public:
    StoreSet(const QString& dataFile, FileSchema schema)
        : m_schema(std::move(schema)), m_changes(dataFile, m_schema.tableNames()),
          m_settings(dataFile, &m_changes), m_events(dataFile, &m_changes),
          m_subscriptions(dataFile, &m_changes), m_calDav(dataFile, &m_changes),
          m_notes(dataFile, &m_changes), m_schedule(dataFile, &m_changes),
          m_quickAccess(dataFile, &m_changes), m_captures(dataFile, &m_changes),
          m_wallpapers(dataFile, &m_changes) {}
    StoreSet(const StoreSet&) = delete;
    StoreSet& operator=(const StoreSet&) = delete;

    DataStores& stores() { return m_stores; }

private:
    FileSchema m_schema;
    ChangeHub m_changes;
    SettingsStore m_settings;
    EventStore m_events;
    SubscriptionStore m_subscriptions;
    CalDavStore m_calDav;
    NoteStore m_notes;
    ScheduleStore m_schedule;
    QuickAccessStore m_quickAccess;
    CaptureStore m_captures;
    WallpaperStore m_wallpapers;
    DataStores m_stores{m_schema, m_changes,  m_settings,    m_events,   m_subscriptions, m_calDav,
                        m_notes,  m_schedule, m_quickAccess, m_captures, m_wallpapers};
};

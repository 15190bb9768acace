// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CalDavStore;
class CaptureStore;
class ChangeHub;
class EventStore;
class FileSchema;
class NoteStore;
class QuickAccessStore;
class ScheduleStore;
class SettingsStore;
class SubscriptionStore;
class WallpaperStore;

// The data file's schema, its hub and each table's store, built once where the program is put
// together (app/StoreSet.h) and reached through AppContext. Every store announces its
// committed writes to `changes`. A page or job keeps the reference; work that needs a
// store of its own (another thread, a store's "now") copies it.
struct DataStores {
    // Grows by the parts of tools added after the program's own (Application::addTool).
    FileSchema& schema;
    ChangeHub& changes;
    SettingsStore& settings;
    EventStore& events;
    SubscriptionStore& subscriptions;
    CalDavStore& calDav;
    NoteStore& notes;
    ScheduleStore& schedule;
    QuickAccessStore& quickAccess;
    CaptureStore& captures;
    WallpaperStore& wallpapers;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/CalendarSchema.h"
#include "capture/CaptureStore.h"
#include "data/FileSchema.h"
#include "data/Settings.h"
#include "keys/Shortcuts.h"
#include "notes/NoteStore.h"
#include "quickaccess/QuickAccessStore.h"
#include "scheduler/ScheduleStore.h"
#include "wallpaper/WallpaperStore.h"

// The data file's schema: the settings' tables, then each tool's in the order of the tool
// list (app/ProgramTools.cpp), whose descriptors bring the same parts. Only the tools' logic
// is needed to read it, so tests below the windows make their data files with it too.
inline FileSchema programSchema() {
    QList<SchemaPart> parts{SettingsStore::tables()};
    parts += calendarSchema();
    parts << NoteStore::tables() << ScheduleStore::tables() << QuickAccessStore::tables()
          << CaptureStore::tables() << WallpaperStore::tables() << Shortcuts::tables();
    return FileSchema(std::move(parts));
}

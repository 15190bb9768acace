// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTools.h"

#include "calendar/ui/CalendarDescriptor.h"
#include "capture/ui/CaptureDescriptor.h"
#include "core/Settings.h"
#include "core/options/ui/OptionsDescriptor.h"
#include "notes/ui/NotesDescriptor.h"
#include "quickaccess/ui/QuickAccessDescriptor.h"
#include "scheduler/ui/ScheduleDescriptor.h"
#include "wallpaper/ui/WallpaperDescriptor.h"

QList<ToolDescriptor> programTools() {
    return {calendarDescriptor(),    notesDescriptor(),   scheduleDescriptor(),
            quickAccessDescriptor(), captureDescriptor(), wallpaperDescriptor(),
            optionsDescriptor()};
}

FileSchema programSchema() {
    QList<SchemaPart> parts{SettingsStore::tables()};
    for (const ToolDescriptor& tool : programTools())
        parts += tool.schema;
    return FileSchema(std::move(parts));
}

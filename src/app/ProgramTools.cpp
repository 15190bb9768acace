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

namespace {

ToolDescriptor withPage(ToolDescriptor tool, ToolDescriptor::PageFactory page) {
    tool.page = std::move(page);
    return tool;
}

} // namespace

QList<ToolDescriptor> programTools(ProgramPages pages) {
    return {withPage(calendarDescriptor(), std::move(pages.calendar)),
            withPage(notesDescriptor(), std::move(pages.notes)),
            withPage(scheduleDescriptor(), std::move(pages.schedule)),
            withPage(quickAccessDescriptor(), std::move(pages.quickAccess)),
            withPage(captureDescriptor(), std::move(pages.capture)),
            withPage(wallpaperDescriptor(), std::move(pages.wallpaper)),
            withPage(optionsDescriptor(), std::move(pages.options))};
}

FileSchema programSchema() {
    QList<SchemaPart> parts{SettingsStore::tables()};
    for (const ToolDescriptor& tool : programTools())
        parts += tool.schema;
    return FileSchema(std::move(parts));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTools.h"

#include "calendar/ui/CalendarDescriptor.h"
#include "capture/ui/CaptureDescriptor.h"
#include "data/Settings.h"
#include "notes/ui/NotesDescriptor.h"
#include "options/ui/OptionsDescriptor.h"
#include "quickaccess/ui/QuickAccessDescriptor.h"
#include "scheduler/ui/ScheduleDescriptor.h"
#include "wallpaper/ui/WallpaperDescriptor.h"

namespace {

ToolDescriptor withPage(ToolDescriptor tool, ToolDescriptor::PageFactory page,
                        DueActions dueActions = {}) {
    tool.page = std::move(page);
    tool.dueActions = std::move(dueActions);
    return tool;
}

} // namespace

QList<ToolDescriptor> programTools(ProgramParts parts) {
    ToolDescriptor calendar = withPage(calendarDescriptor(), std::move(parts.calendar));
    calendar.addJobs = std::move(parts.calendarJobs);
    calendar.optionsGroup = std::move(parts.calendarOptions);
    return {calendar,
            withPage(notesDescriptor(), std::move(parts.notes), std::move(parts.notesDue)),
            withPage(scheduleDescriptor(), std::move(parts.schedule), std::move(parts.scheduleDue)),
            withPage(quickAccessDescriptor(), std::move(parts.quickAccess)),
            withPage(captureDescriptor(), std::move(parts.capture)),
            withPage(wallpaperDescriptor(), std::move(parts.wallpaper)),
            withPage(optionsDescriptor(), std::move(parts.options))};
}

FileSchema programSchema() {
    QList<SchemaPart> parts{SettingsStore::tables()};
    for (const ToolDescriptor& tool : programTools())
        parts += tool.schema;
    return FileSchema(std::move(parts));
}

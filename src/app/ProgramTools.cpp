// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTools.h"

#include "calendar/ui/CalendarDescriptor.h"
#include "capture/ui/CaptureDescriptor.h"
#include "keys/ui/KeysDescriptor.h"
#include "mail/ui/MailDescriptor.h"
#include "notes/ui/NotesDescriptor.h"
#include "options/ui/OptionsDescriptor.h"
#include "quickaccess/ui/QuickAccessDescriptor.h"
#include "scheduler/ui/ScheduleDescriptor.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "wallpaper/ui/WallpaperDescriptor.h"

namespace {

// Quick Notes edits a note's alarm with the scheduler's editor.
ToolDescriptor notesWithScheduleEditor(AppContext& context) {
    return notesTool(context, &ScheduleEditor::edit);
}

// One tool: as the shell shows it, and with its object.
struct ProgramTool {
    ToolDescriptor (*describe)();
    ToolDescriptor (*make)(AppContext& context);
};

// The list: one line per tool, in order. The mail watch is shown nowhere and only brings
// its jobs and its Options group; its minute job runs after the tools' own. The keyboard
// shortcuts, shown nowhere too, bring their Options group and their table.
const ProgramTool ProgramToolList[] = {
    {&calendarDescriptor, &calendarTool}, {&notesDescriptor, &notesWithScheduleEditor},
    {&scheduleDescriptor, &scheduleTool}, {&quickAccessDescriptor, &quickAccessTool},
    {&captureDescriptor, &captureTool},   {&wallpaperDescriptor, &wallpaperTool},
    {&optionsDescriptor, &optionsTool},   {&mailDescriptor, &mailTool},
    {&keysDescriptor, &keysTool},
};

} // namespace

QList<ToolDescriptor> programTools(AppContext& context) {
    QList<ToolDescriptor> tools;
    for (const ProgramTool& tool : ProgramToolList)
        tools << tool.make(context);
    return tools;
}

QList<ToolDescriptor> programTools() {
    QList<ToolDescriptor> tools;
    for (const ProgramTool& tool : ProgramToolList)
        tools << tool.describe();
    return tools;
}

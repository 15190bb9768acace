// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "shell/ui/ToolDescriptor.h"

#include <QList>

// What the program's tool objects give their descriptors: the pages they make and keep (a
// tool given none shows an empty page), and the calendar's jobs, which share its objects
// with its page and Options. Tests give stand-ins or nothing.
struct ProgramParts {
    ToolDescriptor::PageFactory calendar, notes, schedule, quickAccess, capture, wallpaper, options;
    ToolDescriptor::JobAdder calendarJobs;
    ToolDescriptor::OptionsGroupFactory calendarOptions;
    DueActions notesDue, scheduleDue;
};

// The program's tools in the one order the toolbar, the Tools menu, the tray menu and the
// dispatcher number and show them, the tick runs their jobs and reads their due entries,
// and the data file takes its schema from; each with its page.
QList<ToolDescriptor> programTools(ProgramParts parts = {});

// The page factory of a tool object that makes its page with makePage(parent).
template <typename Tool> ToolDescriptor::PageFactory pagesOf(Tool& tool) {
    return [&tool](QWidget* parent) { return tool.makePage(parent); };
}

// The data file's schema: the settings' tables, then each tool's in the list's order.
FileSchema programSchema();

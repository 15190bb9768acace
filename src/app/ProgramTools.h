// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileSchema.h"
#include "core/ui/ToolDescriptor.h"

#include <QList>

// What makes the pages of the program's tools: the objects that make and keep them, or a
// test's stand-ins. A tool given none shows an empty page.
struct ProgramPages {
    ToolDescriptor::PageFactory calendar, notes, schedule, quickAccess, capture, wallpaper, options;
};

// The program's tools in the one order the toolbar, the Tools menu, the tray menu and the
// dispatcher number and show them, and the tick reads their due entries; each with its page.
QList<ToolDescriptor> programTools(ProgramPages pages = {});

// The page factory of a tool object that makes its page with makePage(parent).
template <typename Tool> ToolDescriptor::PageFactory pagesOf(Tool& tool) {
    return [&tool](QWidget* parent) { return tool.makePage(parent); };
}

// The data file's schema: the settings' tables, then each tool's in the list's order.
FileSchema programSchema();

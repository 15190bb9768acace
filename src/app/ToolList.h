// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's tools, one line each, in the one order the toolbar, the Tools menu, the tray
// menu and the dispatcher number them, the tick runs their jobs and reads their due entries,
// and the data file takes their tables.
//
// A line TOOL(name) names a tool folder whose logic library defines `ToolData nameData()`
// (its tables and shared stores, needed without windows) and whose window library defines
// `ToolDescriptor nameDescriptor()` (how the shell shows it) and
// `ToolDescriptor nameTool(AppContext&)` (the same, with its object, page, jobs and actions).
// The mail watch is shown nowhere and only brings its jobs and its Options group; its minute
// job runs after the tools' own. The keyboard shortcuts, shown nowhere too, bring their
// Options group and their table.
#define PLUMORA_TOOLS(TOOL)                                                                        \
    TOOL(calendar)                                                                                 \
    TOOL(notes)                                                                                    \
    TOOL(schedule)                                                                                 \
    TOOL(quickAccess)                                                                              \
    TOOL(capture)                                                                                  \
    TOOL(wallpaper)                                                                                \
    TOOL(options)                                                                                  \
    TOOL(mail)                                                                                     \
    TOOL(keys)
